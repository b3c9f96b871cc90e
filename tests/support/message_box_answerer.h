#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace zedade::testing {

// Answers the program's message boxes as a user would: every box that becomes the active modal
// window is recorded (text, title, buttons) and answered with the next queued button (Ok when
// nothing is queued).
class MessageBoxAnswerer {
 public:
  struct Seen {
    std::string text;
    std::string title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon;
  };

  explicit MessageBoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {}, int delayMs = 50)
      : m_answers(std::move(answers)), m_delayMs(delayMs) {
    QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
    m_poll.start(20);
  }

  const std::vector<Seen>& seen() const { return m_seen; }

  // Boxes after the first `limit` are left open (seen but not answered).
  void setAnswerLimit(int limit) { m_answerLimit = limit; }

  // Called as each box is seen, before it is answered.
  std::function<void(const Seen&)> onShown;

 private:
  void poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box == m_current) return;
    m_current = box;
    m_seen.push_back({box->text().toStdString(), box->windowTitle().toStdString(), box->standardButtons(), box->icon()});
    if (onShown) onShown(m_seen.back());
    if (m_answerLimit >= 0 && static_cast<int>(m_seen.size()) > m_answerLimit) return;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (!m_answers.empty()) {
      answer = m_answers.front();
      m_answers.pop_front();
    }
    QTimer::singleShot(m_delayMs, box, [box, answer] {
      if (QAbstractButton* button = box->button(answer)) button->click();
    });
  }

  std::deque<QMessageBox::StandardButton> m_answers;
  int m_delayMs;
  QTimer m_poll;
  QPointer<QMessageBox> m_current;
  int m_answerLimit = -1;
  std::vector<Seen> m_seen;
};

}  // namespace zedade::testing
