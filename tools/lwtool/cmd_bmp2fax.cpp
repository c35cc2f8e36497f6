// lwtool bmp2fax: the fax encoder on a 1-bit BMP, writing the T.6 fax TIFF to OUT.
#include <QFile>
#include <QSaveFile>

#include "Command.h"
#include "faxtiff/FaxTiff.h"

namespace {

int Bmp2Fax(const QStringList& args) {
  if (args.size() != 2) return lwtool::Fail(QStringLiteral("usage: lwtool bmp2fax IN.bmp OUT.tif"));
  const std::string tiff = lw::faxtiff::ConvertBmpToFaxTiff(
      lw::faxtiff::kModeT6, QFile::encodeName(args[0]).toStdString());
  if (tiff.empty())
    return lwtool::Fail(QStringLiteral("%1: %2").arg(
        args[0], QString::fromStdString(lw::faxtiff::LastErrorText())));

  // The encoder writes into the private temporary folder; copy the result into place so
  // that an existing OUT is replaced only by a complete file.
  const QString tempPath = QFile::decodeName(QByteArray::fromStdString(tiff));
  QFile temp(tempPath);
  QSaveFile out(args[1]);
  const bool copied = temp.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
                      out.write(temp.readAll()) == temp.size() && out.commit();
  const QString why = out.errorString();
  temp.remove();
  if (!copied) return lwtool::Fail(QStringLiteral("%1: could not write: %2").arg(args[1], why));
  return 0;
}

}  // namespace

LWTOOL_COMMAND("bmp2fax", "bmp2fax IN.bmp OUT.tif", Bmp2Fax);
