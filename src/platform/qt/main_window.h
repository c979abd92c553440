// MainWindow as Qt widgets, built from the window description: the three
// labels, 编辑框1, 拨号, and the units that are not drawn (时钟1, 服务器1).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "link/socket_events.h"
#include "platform/desktop.h"
#include "platform/qt/window_gone_filter.h"

namespace quorvant {

class MainWindow : public QWidget {
 public:
  // Built hidden. Creating the units starts 时钟1 and makes 服务器1 listen
  // through `socketEvents`.
  explicit MainWindow(SocketEvents& socketEvents);
  // Closing the window deletes it; the server unit goes with it.
  ~MainWindow() override;

  QLabel* LabelOf(Label label) const;
  QLineEdit* NumberBox() const { return 编辑框1_; }
  QPushButton* DialButton() const { return 拨号_; }

 private:
  QLabel* 安全计时_;
  QLabel* 客户进入_;
  QLineEdit* 编辑框1_;
  QPushButton* 拨号_;
  QLabel* 标签1_;
  std::unique_ptr<WindowGoneFilter> goneFilter_;
};

}  // namespace quorvant
