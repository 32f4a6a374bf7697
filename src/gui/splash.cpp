#include "gui/splash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace dalvex {

namespace {

constexpr int kShowMilliseconds = 2000;

class SplashWindow : public QWidget {
  public:
    SplashWindow()
        : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setAttribute(Qt::WA_DeleteOnClose);
        setFixedSize(520, 300);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = rect();
        QLinearGradient sky(r.topLeft(), r.bottomLeft());
        sky.setColorAt(0, QColor(22, 48, 96));
        sky.setColorAt(1, QColor(8, 20, 44));
        p.fillRect(r, sky);

        // A small scatter of points with its fitted line: what the package is for.
        const QRectF plot(300, 70, 190, 150);
        p.setPen(QPen(QColor(120, 150, 200), 1.2));
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
        p.drawLine(plot.bottomLeft(), plot.topLeft());
        const double xs[] = {0.05, 0.14, 0.22, 0.3, 0.38, 0.47, 0.55, 0.63, 0.72, 0.8, 0.88, 0.95};
        const double ys[] = {0.12, 0.2, 0.16, 0.33, 0.3, 0.45, 0.52, 0.5, 0.66, 0.7, 0.8, 0.86};
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 190, 70));
        for (int i = 0; i < 12; ++i)
            p.drawEllipse(
                QPointF(plot.left() + xs[i] * plot.width(), plot.bottom() - ys[i] * plot.height()),
                4, 4);
        p.setPen(QPen(QColor(110, 200, 255), 2));
        p.drawLine(QPointF(plot.left(), plot.bottom() - 0.07 * plot.height()),
                   QPointF(plot.right(), plot.bottom() - 0.9 * plot.height()));

        QFont title(QStringLiteral("DejaVu Sans"));
        title.setPixelSize(54);
        title.setBold(true);
        p.setFont(title);
        p.setPen(Qt::white);
        p.drawText(QRectF(34, 70, 260, 70), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("DALVEX"));
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(17);
        p.setFont(small);
        p.setPen(QColor(200, 215, 240));
        p.drawText(QRectF(36, 140, 260, 30), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("версия 8.0"));
        p.drawText(QRectF(36, 200, 260, 60), Qt::AlignLeft | Qt::TextWordWrap,
                   QStringLiteral("Статистический анализ данных и научная графика"));
        p.setPen(QPen(QColor(90, 120, 170), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }
};

}  // namespace

QWidget* ShowSplash() {
    auto* splash = new SplashWindow;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        splash->move(area.center() - splash->rect().center());
    }
    splash->show();
    splash->repaint();
    return splash;
}

}  // namespace dalvex
