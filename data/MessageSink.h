#pragma once
// The one channel through which the program reports problems to the user.
// The GUI shows a modal box, the command line prints to stderr, tests record.

#include <QString>
#include <vector>

enum class MessageIcon { Information, Warning, Error };

class IMessageSink {
 public:
  virtual ~IMessageSink() = default;
  virtual void Message(const QString& caption, const QString& text, MessageIcon icon) = 0;
};

// Prints "caption: text" to stderr.
class CStderrMessageSink final : public IMessageSink {
 public:
  void Message(const QString& caption, const QString& text, MessageIcon icon) override;
  static CStderrMessageSink& Instance();
};

// Keeps every message in order; used by tests and by the summary command.
class CRecordingMessageSink final : public IMessageSink {
 public:
  struct Entry {
    QString caption;
    QString text;
    MessageIcon icon;
  };
  void Message(const QString& caption, const QString& text, MessageIcon icon) override {
    m_entries.push_back({caption, text, icon});
  }
  const std::vector<Entry>& Entries() const { return m_entries; }
  void Clear() { m_entries.clear(); }

 private:
  std::vector<Entry> m_entries;
};
