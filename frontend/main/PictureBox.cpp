#include "PictureBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent) : QWidget(parent), m_picture(picture) {
  setFocusPolicy(Qt::NoFocus);
}

void PictureBox::SetBackground(const QColor& colour) {
  m_background = colour;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_background.isValid()) painter.fillRect(rect(), m_background);
  painter.drawPixmap(0, 0, m_picture);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Click();
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
  event->ignore();
  emit KeyPress(event);
  if (!event->isAccepted()) QWidget::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  emit GotFocus();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  emit LostFocus();
}
