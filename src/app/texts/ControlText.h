#pragma once
// Setting the texts of dialog controls and windows from text ids.
//
// Texts carry their mnemonic as "&X" (Japanese ones as "(&X)" after the label). Buttons,
// check boxes, radio buttons and group boxes show it underlined the Qt way; a label shows it
// when it has a buddy (set the buddy before the text), and a label without one shows the
// text without the "&" markers. A window title shows the text as it is.
//
// Controls can be addressed by pointer, or, like the dialog templates the texts were written
// for, by a numeric control id that SetControlId() gives a child widget.

#include <QString>

class QWidget;

namespace lw {

// Gives `control` the numeric id `id` within its window (a dynamic property).
void SetControlId(QWidget* control, int id);
// The first descendant of `window` (or `window` itself) with control id `id`, or null.
QWidget* FindControl(QWidget* window, int id);

// With an id: loads the text; an empty text leaves the control alone; when keepMnemonic is
// false every "&" is removed; the control gets the text. Without an id (0) and with
// keepMnemonic false: the control's current text loses every "&". Nothing happens for a
// null control. A window (any other widget without a parent) gets it as its title.
void SetControlText(QWidget* control, bool keepMnemonic, unsigned textId = 0);

// The same for the control with id `controlId` of `window`: nothing happens when the window
// is null, the id is 0 or there is no such control.
void SetControlText(QWidget* window, int controlId, bool keepMnemonic, unsigned textId);

// The text a control currently shows as its caption (title, label or button text).
QString ControlText(const QWidget* control);

}  // namespace lw
