#pragma once
// Messages shown as the user meets them: one modal box each, over the
// window that reported them. Only the GUI thread reports here.

#include <QPointer>
#include <QWidget>

#include "MessageSink.h"

class CMessageBoxSink final : public IMessageSink {
 public:
  explicit CMessageBoxSink(QWidget* parent = nullptr) : m_pParent(parent) {}
  void Message(const QString& caption, const QString& text, MessageIcon icon) override;
  void SetParent(QWidget* parent) { m_pParent = parent; }

 private:
  QPointer<QWidget> m_pParent;
};
