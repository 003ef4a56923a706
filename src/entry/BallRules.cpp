#include "BallRules.h"

#include "data/Formats.h"

#include <QLocale>
#include <array>

namespace ballvane {

QChar digitOnlyKey(QChar key) {
    const char16_t code = key.unicode();
    const bool passes = code == 8 || code == 13 || (code >= u'0' && code <= u'9');
    return passes ? key : QChar();
}

std::optional<TColor> ballBandColour(const QString& text) {
    struct Band {
        const char16_t* upTo;
        TColor colour;
    };
    static constexpr std::array<Band, 5> bands{{
        {u"09", clWhite}, {u"19", clSkyBlue}, {u"29", 0xB366FF}, {u"39", clMoneyGreen}, {u"49", clYellow}}};
    for (const Band& band : bands)
        if (QString::compare(text, QString::fromUtf16(band.upTo), Qt::CaseSensitive) <= 0) return band.colour;
    return std::nullopt;
}

TColor sharesColour(const QString& text) { return text == u"0" ? clRed : clGreen; }

BallExit ballExitAction(const QString& text) {
    if (text.isEmpty()) return BallExit::SelfDestruct;
    if (text.size() == 1) return BallExit::PadWithZero;
    return BallExit::Keep;
}

NextDraw nextDraw(const QString& lastDay, const QDate& lastDate) {
    if (!lastDate.isValid()) return {};
    if (lastDay == u"Wed") return {QStringLiteral("Sat"), lastDate.addDays(3)};
    if (lastDay == u"Sat") return {QStringLiteral("Wed"), lastDate.addDays(4)};
    QDate date = lastDate.addDays(1);
    while (date.dayOfWeek() != Qt::Wednesday && date.dayOfWeek() != Qt::Saturday) date = date.addDays(1);
    return {date.dayOfWeek() == Qt::Wednesday ? QStringLiteral("Wed") : QStringLiteral("Sat"), date};
}

QString newDrawDateText(const QDate& date, const QString& format) {
    return QLocale().toString(date, format).left(10);
}

} // namespace ballvane
