#include "platform/message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/qt_text.h"

namespace zedade {

int ShowMessageBox(const Text& text, int flags, const std::optional<Text>& title) {
  QMessageBox box;
  box.setObjectName(QStringLiteral("ZedadeMessageBox"));
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowTitle(title ? ToQString(*title) : QStringLiteral("信息："));
  box.setText(ToQString(text));
  box.setTextFormat(Qt::PlainText);
  if (flags & mb::kIconQuestion) {
    box.setIcon(QMessageBox::Question);
  } else if (flags & mb::kIconInformation) {
    box.setIcon(QMessageBox::Information);
  }
  const bool yesNo = (flags & 0xF) == mb::kYesNo;
  if (yesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  }
  const int result = box.exec();
  if (!yesNo) return mb::kAnswerOk;
  return result == QMessageBox::Yes ? mb::kAnswerYes : mb::kAnswerNo;
}

}  // namespace zedade
