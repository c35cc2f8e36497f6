#pragma once
// How the non-GUI layers tell the user about a failure.
//
// A reader or loader that fails reports the id of the text to show. The editor installs
// a handler that loads the text and shows it in a message box; lwtool installs one that
// prints it; tests install one that records the ids. Without a handler the id is written
// to standard error.

#include <QString>
#include <functional>

namespace lw {

using MessageHandler = std::function<void(int textId, const QString& detail)>;

// Installs the handler and returns the previous one (so a test can restore it).
MessageHandler SetMessageHandler(MessageHandler handler);

// Reports text `textId`; `detail` names the file or object concerned, when there is one.
void ReportMessage(int textId, const QString& detail = QString());

}  // namespace lw
