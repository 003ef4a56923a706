#pragma once

#include "data/Colors.h"
#include "data/Formats.h"

#include <QChar>
#include <QDate>
#include <QString>
#include <optional>

namespace ballvane {

// The digit-only key filter: backspace, Enter and the digits pass; any other
// character becomes null, which the edit ignores.
QChar digitOnlyKey(QChar key);

// The ball colour banding, by ordinal comparison of the text with "09", "19", "29",
// "39" and "49"; nullopt above "49", where the edit keeps the colour it had.
std::optional<TColor> ballBandColour(const QString& text);

// The shares colour rule: red for exactly "0", green for anything else.
TColor sharesColour(const QString& text);

// What leaving a ball edit does with its text.
enum class BallExit {
    Keep,         // two characters or more: nothing
    PadWithZero,  // one character: "0" goes in front
    SelfDestruct, // empty: the record goes
};
BallExit ballExitAction(const QString& text);

// The next draw after the last one: Wednesday is followed by Saturday three days
// on, Saturday by Wednesday four days on. Any other day (the history holds a few
// draws moved to other days) steps to the first Wednesday or Saturday after it.
// Without a valid last date there is no next draw: both parts are empty.
struct NextDraw {
    QString day;
    QDate date;
};
NextDraw nextDraw(const QString& lastDay, const QDate& lastDate);

// A new draw's date as typed into the date edit: the short date format, cut to 10 characters.
QString newDrawDateText(const QDate& date, const QString& format = formats::shortDateFormat());

} // namespace ballvane
