#pragma once

#include <QLabel>

namespace app
{

/// A label that reports a click (press and release of the left button over it), for the
/// logo picture and the home-page address.
class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace app
