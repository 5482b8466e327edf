#pragma once
// The transfer window's widget, built from the dialog template: each control
// in template order with its id, text and style, placed by converting dialog
// units to pixels from the dialog font's average character size, and coloured
// as OnCtlColor says. The Cancel button, the Escape key and the close box only
// report to the cancel handler; the window closes when the dialog ends.

#include <QDialog>
#include <functional>
#include <vector>

#include "dialog_template.h"

class QPushButton;

namespace vantor {

class CTransferDialogQt final : public QDialog {
 public:
  explicit CTransferDialogQt(std::function<void()> onCancel);

  // The top-level window this one belongs to and stays above (null: none).
  void SetOwner(QWidget* owner);
  // Shows the window centred on the screen with the focus on Cancel.
  void ShowCentred();
  // The control with that id (not -1), or null.
  QWidget* Control(int id) const;
  // Every control, in template order.
  const std::vector<QWidget*>& Controls() const { return m_controls; }
  // The dialog font's base units in pixels: average character width, height.
  QSize BaseUnits() const { return m_baseUnits; }
  QPushButton* CancelButton() const;

  void SetItemText(int id, const QString& text);
  void SetBar(int id, long low, long high, long pos);

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* MakeControl(const DialogControl& control);
  QRect ToPixels(int x, int y, int cx, int cy) const;

  std::function<void()> m_onCancel;
  QSize m_baseUnits;
  std::vector<QWidget*> m_controls;
  std::vector<int> m_ids;
};

}  // namespace vantor
