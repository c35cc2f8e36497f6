// Language file bytes: the reader must never crash or read outside the buffer, and a file
// it accepts must survive a dump to the text form and a compile back unchanged in meaning.
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

#include "app/texts/LanguageFile.h"
#include "app/texts/LanguageSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  // Character set 77 has no fonts anywhere: the rejection path is exercised too.
  auto file = lw::LanguageFile::Parse(
      bytes, [](uint32_t charset) { return charset != 77; }, nullptr);
  if (!file) return 0;
  for (const lw::LanguageEntry& e : file->Entries()) {
    (void)lw::ComposeLabel(e);
    unsigned flags = 0;
    (void)lw::AcceleratorKey(e, &flags);
    if (file->Find(e.key) == nullptr) std::abort();
  }
  QString error;
  const QString text = lw::WriteLanguageSource(lw::SourceOfFile(*file));
  lw::LanguageSource back;
  if (!lw::ParseLanguageSource(text, &back, &error)) std::abort();
  if (back.entries.size() != file->Entries().size()) std::abort();
  for (size_t i = 0; i < back.entries.size(); ++i) {
    const lw::LanguageEntry& a = file->Entries()[i];
    const lw::LanguageEntry& b = back.entries[i];
    if (a.key != b.key || a.kind != b.kind || a.flags != b.flags || a.mnemonic != b.mnemonic ||
        a.text != b.text || a.HasAccelerator() != b.HasAccelerator() ||
        (a.HasAccelerator() && (a.accelFlags != b.accelFlags || a.accelKey != b.accelKey)) ||
        lw::ComposeLabel(a) != lw::ComposeLabel(b))
      std::abort();
  }
  return 0;
}
