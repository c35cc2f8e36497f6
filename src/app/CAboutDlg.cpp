#include "app/CAboutDlg.h"

#include "app/AppIcons.h"
#include "app/texts/ControlText.h"
#include "app/texts/TextLoader.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lw {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About"));
  auto* icon = new QLabel(this);
  icon->setPixmap(ApplicationIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);

  auto* name = new QLabel(QStringLiteral("Vantrel Leafwright"), this);
  QFont bold = name->font();
  bold.setBold(true);
  name->setFont(bold);
  // The version and language lines start with their template texts.
  auto* version =
      new QLabel(QStringLiteral("Version %1").arg(QLatin1String(kProgramVersion)), this);
  auto* language =
      new QLabel(QStringLiteral("Language %1").arg(CTextLoader().LanguageVersion()), this);
  auto* notice = new QLabel(QStringLiteral("Copyright (C) Vantrel. All rights reserved."), this);
  SetControlId(name, 1032);
  SetControlId(version, 1033);
  SetControlId(language, 1034);
  SetControlId(notice, 1040);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  SetControlId(ok, 1);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  for (QLabel* l : {name, version, language, notice}) texts->addWidget(l);
  auto* row = new QHBoxLayout;
  row->addWidget(icon);
  row->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  SetControlText(this, true, 62632);
  SetControlText(ok, true, 62627);
}

}  // namespace lw
