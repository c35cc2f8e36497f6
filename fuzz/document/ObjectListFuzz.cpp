// Feeds the input to the object-list reader (the clipboard's data). What reads must write,
// and what is written must read back and write again to the very same bytes; a failed read
// must leave the target list untouched. Any disagreement aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QByteArray>
#include <QFile>

#include "document/CDrawObj.h"
#include "document/DocFile.h"
#include "document/DocGlobals.h"

namespace {

void DeleteAll(QList<CDrawObj*>& list) {
  for (CDrawObj* o : std::as_const(list)) {
    if (o && !o->m_strImageFile.isEmpty()) QFile::remove(o->m_strImageFile);
    delete o;
  }
  list.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The reader alone: picture decoding has its own fuzz target.
  static const bool noLoader = (lw::SetPictureLoader(nullptr), true);
  (void)noLoader;
  lw::ResetAllState();
  const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
  QList<CDrawObj*> list{nullptr};  // a marker the reader must leave first
  const lw::FileResult r = lw::ReadObjectList(input, list);
  if (list.isEmpty() || list.first() != nullptr) std::abort();
  list.removeFirst();
  if (!r.ok()) {
    if (!list.isEmpty()) std::abort();
    return 0;
  }
  const QByteArray written = lw::WriteObjectListBytes(list);
  DeleteAll(list);
  if (!lw::ReadObjectList(QByteArrayView(written), list).ok()) std::abort();
  const QByteArray again = lw::WriteObjectListBytes(list);
  DeleteAll(list);
  if (again != written) {
    std::fprintf(stderr, "written: %s\nagain:   %s\n", written.toHex().constData(),
                 again.toHex().constData());
    std::abort();
  }
  return 0;
}
