#include "ui/icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <functional>
#include <map>
#include <tuple>

namespace zor::icons {

namespace {

constexpr int S = 50;

using Paint = std::function<void(QPainter &, const QColor &)>;

// A picture drawn when Qt first asks for it, at S x S and scaled to the size
// asked, as a QIcon made of two such pixmaps would show it: most pictures
// (hidden pages, menus, the highlighted look) are never needed at start.
// Active is the highlighted ink; Disabled and Selected are made by the style
// from the normal picture.
class DrawnIconEngine : public QIconEngine
{
public:
    explicit DrawnIconEngine(Paint paint)
        : m_paint(std::move(paint))
    { }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const QSize full(S, S);
        return size.width() >= S && size.height() >= S ? full
                                                       : full.scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize actual = actualSize(size, mode, state);
        if (actual.isEmpty())
            return QPixmap();
        const auto key = std::make_tuple(actual.width(), actual.height(), int(mode));
        if (const auto it = m_made.find(key); it != m_made.end())
            return it->second;
        QPixmap pm(S, S);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        m_paint(p, mode == QIcon::Active ? QColor(0, 90, 200) : QColor(40, 40, 40));
        p.end();
        if (pm.size() != actual)
            pm = pm.scaled(actual, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled || mode == QIcon::Selected) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        m_made.emplace(key, pm);
        return pm;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal dpr = painter->device()->devicePixelRatio();
        QPixmap pm = pixmap(rect.size() * dpr, mode, state);
        pm.setDevicePixelRatio(dpr);
        painter->drawPixmap(rect, pm);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(S, S)}; }
    QIconEngine *clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("zor-drawn"); }

private:
    Paint m_paint;
    std::map<std::tuple<int, int, int>, QPixmap> m_made;
};

QIcon draw(Paint paint)
{
    return QIcon(new DrawnIconEngine(std::move(paint)));
}

void sheet(QPainter &p, const QColor &ink)
{
    QPainterPath path;
    path.moveTo(12, 5);
    path.lineTo(31, 5);
    path.lineTo(40, 14);
    path.lineTo(40, 45);
    path.lineTo(12, 45);
    path.closeSubpath();
    p.setPen(QPen(ink, 2));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(31, 5, 31, 14);
    p.drawLine(31, 14, 40, 14);
}

} // namespace

QIcon newReport()
{
    return draw([](QPainter &p, const QColor &ink) {
        sheet(p, ink);
        p.setPen(QPen(QColor(230, 170, 0), 3));
        p.drawLine(26, 24, 26, 38);
        p.drawLine(19, 31, 33, 31);
    });
}

QIcon openReport()
{
    return draw([](QPainter &p, const QColor &ink) {
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(5, 14, 36, 28);
        p.drawRect(5, 10, 14, 4);
        p.setBrush(QColor(250, 220, 130));
        QPolygonF front;
        front << QPointF(10, 22) << QPointF(46, 22) << QPointF(41, 42) << QPointF(5, 42);
        p.drawPolygon(front);
    });
}

QIcon saveReport()
{
    return draw([](QPainter &p, const QColor &ink) {
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(60, 90, 160));
        p.drawRoundedRect(7, 7, 36, 36, 3, 3);
        p.setBrush(Qt::white);
        p.drawRect(14, 7, 22, 13);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(13, 28, 24, 15);
    });
}

QIcon sendReport()
{
    return draw([](QPainter &p, const QColor &ink) {
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(250, 250, 235));
        p.drawRect(5, 12, 40, 27);
        p.drawLine(5, 12, 25, 28);
        p.drawLine(45, 12, 25, 28);
    });
}

QIcon printReport()
{
    return draw([](QPainter &p, const QColor &ink) {
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::white);
        p.drawRect(14, 5, 22, 14);
        p.setBrush(QColor(170, 170, 170));
        p.drawRoundedRect(5, 18, 40, 18, 3, 3);
        p.setBrush(Qt::white);
        p.drawRect(14, 30, 22, 15);
        p.drawLine(18, 36, 32, 36);
        p.drawLine(18, 40, 30, 40);
    });
}

namespace {

// Two thick strokes in a colour of their own: the plus of adding, the cross of deleting.
QIcon twoStrokes(const QColor &colour, const QLineF &first, const QLineF &second)
{
    return draw([=](QPainter &p, const QColor &) {
        p.setPen(QPen(colour, 8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(first);
        p.drawLine(second);
    });
}

} // namespace

QIcon addEntry()
{
    return twoStrokes(QColor(0, 140, 0), QLineF(25, 10, 25, 40), QLineF(10, 25, 40, 25));
}

QIcon modifyEntry()
{
    return draw([](QPainter &p, const QColor &ink) {
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(240, 200, 90));
        QPolygonF pencil;
        pencil << QPointF(12, 38) << QPointF(34, 8) << QPointF(42, 14) << QPointF(20, 44)
               << QPointF(10, 46);
        p.drawPolygon(pencil);
    });
}

QIcon deleteEntry()
{
    return twoStrokes(QColor(200, 0, 0), QLineF(12, 12, 38, 38), QLineF(38, 12, 12, 38));
}

QIcon importList()
{
    return draw([](QPainter &p, const QColor &ink) {
        // A small table of members ...
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::white);
        p.drawRect(4, 6, 26, 32);
        for (int y = 14; y < 38; y += 8)
            p.drawLine(4, y, 30, y);
        p.drawLine(15, 6, 15, 38);
        // ... whose figures go over into the report.
        p.setPen(QPen(QColor(0, 140, 60), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(26, 40, 44, 40);
        p.drawLine(44, 40, 38, 34);
        p.drawLine(44, 40, 38, 46);
    });
}

QIcon moreEntries(Qt::ArrowType towards)
{
    return draw([towards](QPainter &p, const QColor &ink) {
        // Two chevrons pointing right, turned to where the entries are.
        p.translate(S / 2.0, S / 2.0);
        p.rotate(towards == Qt::DownArrow ? 90 : towards == Qt::LeftArrow ? 180 : 0);
        p.translate(-S / 2.0, -S / 2.0);
        p.setPen(QPen(ink, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        for (const qreal x : {12.0, 27.0}) {
            const QPointF chevron[] = {{x, 13}, {x + 11, 25}, {x, 37}};
            p.drawPolyline(chevron, 3);
        }
    });
}

QPixmap programPicture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // A black belt tied in a knot on a yellow disc.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 0));
    p.drawEllipse(2, 2, 60, 60);
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(8, 28, 48, 9);
    p.drawRect(26, 24, 12, 17);
    QPolygonF left, right;
    left << QPointF(28, 40) << QPointF(22, 56) << QPointF(29, 57) << QPointF(33, 41);
    right << QPointF(36, 40) << QPointF(42, 56) << QPointF(35, 57) << QPointF(31, 41);
    p.drawPolygon(left);
    p.drawPolygon(right);
    return pm;
}

} // namespace zor::icons
