// The text form of language files, as a translator might write it: the compiler must never
// crash, and what it compiles the reader must accept with the same entries.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

#include "app/texts/LanguageFile.h"
#include "app/texts/LanguageSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  lw::LanguageSource source;
  QString error;
  if (!lw::ParseLanguageSource(text, &source, &error)) return 0;
  const QByteArray bytes = lw::CompileLanguageSource(text, &error);
  if (bytes.isEmpty()) return 0;  // an id given twice
  auto file = lw::LanguageFile::Parse(bytes, nullptr, &error);
  if (!file || file->Entries().size() != source.entries.size()) std::abort();
  for (size_t i = 0; i < source.entries.size(); ++i) {
    const lw::LanguageEntry& a = source.entries[i];
    const lw::LanguageEntry& b = file->Entries()[i];
    if (a.key != b.key || a.flags != b.flags || a.mnemonic != b.mnemonic ||
        a.HasAccelerator() != b.HasAccelerator())
      std::abort();
    // The text survives up to a 0 character, which the text form cannot hold.
    if (a.text != b.text) std::abort();
    (void)lw::ComposeLabel(b);
  }
  return 0;
}
