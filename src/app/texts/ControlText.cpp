#include "app/texts/ControlText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

#include "app/texts/TextLoader.h"

namespace lw {
namespace {

constexpr const char* kControlIdProperty = "lwControlId";

// "&&" stands for one "&"; any other "&" only marks the next character.
QString WithoutMnemonicMarks(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
      ++i;  // keep the marked character (or the second "&" of "&&")
    } else if (text[i] == QLatin1Char('&')) {
      continue;
    }
    out += text[i];
  }
  return out;
}

void ApplyText(QWidget* control, const QString& text) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(text);
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    box->setTitle(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(label->buddy() ? text : WithoutMnemonicMarks(text));
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  } else if (control->isWindow()) {
    control->setWindowTitle(text);
  } else {
    control->setProperty("text", text);
  }
}

}  // namespace

void SetControlId(QWidget* control, int id) {
  if (control) control->setProperty(kControlIdProperty, id);
}

QWidget* FindControl(QWidget* window, int id) {
  if (!window || id == 0) return nullptr;
  if (window->property(kControlIdProperty).toInt() == id) return window;
  const QList<QWidget*> children = window->findChildren<QWidget*>();
  for (QWidget* w : children)
    if (w->property(kControlIdProperty).toInt() == id) return w;
  return nullptr;
}

QString ControlText(const QWidget* control) {
  if (!control) return {};
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (control->isWindow()) return control->windowTitle();
  return control->property("text").toString();
}

void SetControlText(QWidget* control, bool keepMnemonic, unsigned textId) {
  if (!control) return;
  if (textId != 0) {
    QString text = LoadText(textId);
    if (text.isEmpty()) return;
    if (!keepMnemonic) text.remove(QLatin1Char('&'));
    ApplyText(control, text);
  } else if (!keepMnemonic) {
    QString text = ControlText(control);
    if (text.isEmpty()) return;
    text.remove(QLatin1Char('&'));
    ApplyText(control, text);
  }
}

void SetControlText(QWidget* window, int controlId, bool keepMnemonic, unsigned textId) {
  if (!window || controlId == 0) return;
  SetControlText(FindControl(window, controlId), keepMnemonic, textId);
}

}  // namespace lw
