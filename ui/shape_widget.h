#pragma once

#include <QColor>
#include <QWidget>

namespace vandorelle {

// A 9 x 9 indicator: filled rectangle or circle.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Shape { Rectangle, Circle };
    ShapeWidget(const char *name, QColor brush, QWidget *parent = nullptr);

    QColor brush() const { return m_brush; }
    Shape shape() const { return m_shape; }
    void setBrush(QColor c);
    void setShape(Shape s);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QColor m_brush;
    Shape m_shape = Shape::Rectangle;
};

} // namespace vandorelle
