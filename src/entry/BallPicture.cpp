#include "BallPicture.h"

#include <QPainter>
#include <QRadialGradient>

namespace ballvane {

QPixmap lotteryBallPicture() {
    QPixmap picture(65, 66);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(2.5, 3.0, 60, 60);

    // A soft shadow under the ball, then the ball lit from the top left.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(QRectF(8, 56, 50, 9));
    QRadialGradient body(QPointF(22, 20), 44, QPointF(20, 16));
    body.setColorAt(0.0, QColor(255, 245, 170));
    body.setColorAt(0.45, QColor(245, 190, 20));
    body.setColorAt(1.0, QColor(150, 80, 0));
    painter.setBrush(body);
    painter.setPen(QPen(QColor(120, 60, 0), 1));
    painter.drawEllipse(ball);

    // The white disc bearing the game: "6/49".
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawEllipse(QRectF(17.5, 18.0, 30, 30));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(170, 20, 20));
    painter.drawText(QRectF(17.5, 18.0, 30, 30), Qt::AlignCenter, QStringLiteral("6/49"));

    // The gloss: a bright highlight near the top left.
    QRadialGradient gloss(QPointF(21, 15), 14);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 220));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawEllipse(QRectF(8, 4, 28, 22));
    return picture;
}

} // namespace ballvane
