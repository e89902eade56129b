#include "MessageSink.h"

#include <cstdio>

void CStderrMessageSink::Message(const QString& caption, const QString& text, MessageIcon icon) {
  const char* kind = icon == MessageIcon::Error ? "error" : icon == MessageIcon::Warning ? "warning" : "note";
  std::fprintf(stderr, "%s: %s: %s\n", kind, caption.toUtf8().constData(), text.toUtf8().constData());
}

CStderrMessageSink& CStderrMessageSink::Instance() {
  static CStderrMessageSink sink;
  return sink;
}
