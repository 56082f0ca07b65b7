#include "ui/shape_widget.h"

#include <QPainter>

namespace vandorelle {

ShapeWidget::ShapeWidget(const char *name, QColor brush, QWidget *parent)
    : QWidget(parent), m_brush(brush)
{
    setObjectName(QString::fromLatin1(name));
    setFixedSize(9, 9);
}

void ShapeWidget::setBrush(QColor c)
{
    if (c == m_brush)
        return;
    m_brush = c;
    update();
}

void ShapeWidget::setShape(Shape s)
{
    if (s == m_shape)
        return;
    m_shape = s;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, m_shape == Shape::Circle);
    p.setPen(Qt::black);
    p.setBrush(m_brush);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    if (m_shape == Shape::Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

} // namespace vandorelle
