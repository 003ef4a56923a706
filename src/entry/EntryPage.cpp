#include "EntryPage.h"

#include "BallEditRules.h"
#include "BallPicture.h"
#include "BallRules.h"
#include "data/DataError.h"
#include "data/Table.h"
#include "store/BookSchema.h"
#include "widgets/Dialogs.h"
#include "widgets/Fonts.h"
#include "widgets/Palette.h"

#include <map>

namespace ballvane {

namespace {
enum class Kind { Label, Edit, BallEdit, Button, Picture };

// The page's layout: every control at its place, with its caption or bound field
// and its tab order (-1: no tab stop). Labels size themselves to their text.
struct Place {
    Kind kind;
    const char* name;
    int left, top, width, height;
    const char* text; // caption, or the bound field of an edit
    int tabOrder;
};

constexpr Place layout[] = {
    {Kind::Label, "Label1", 32, 48, 0, 0, "Draw Number.", -1},
    {Kind::Edit, "DBEditEh1", 32, 64, 73, 19, "DRAW#", 2},
    {Kind::Label, "Label2", 146, 48, 0, 0, "Draw Day.", -1},
    {Kind::Edit, "DBEditEh2", 144, 64, 49, 19, "Day", 3},
    {Kind::Label, "Label3", 240, 48, 0, 0, "Draw Date.", -1},
    {Kind::Edit, "DBEditEh3", 240, 64, 73, 19, "Date", 4},
    {Kind::Label, "Label12", 328, 48, 0, 0, "Jackpot prize divided by share amount.", -1},
    {Kind::Edit, "DBEditEh4", 352, 64, 145, 19, "JACKPOT", 5},
    {Kind::Label, "Label13", 536, 48, 0, 0, "Shares.", -1},
    {Kind::Edit, "DBEditEh5", 536, 64, 38, 19, "WINNERS", 6},
    {Kind::Label, "Label4", 32, 96, 0, 0, "Ball numbers in ascending numerical order, plus the Bonus Ball.", -1},
    {Kind::Edit, "DBEditEh8", 392, 96, 65, 21, "BBI", 18},
    {Kind::Label, "Label5", 37, 120, 0, 0, "B1", -1},
    {Kind::Label, "Label6", 69, 120, 0, 0, "B2", -1},
    {Kind::Label, "Label7", 101, 120, 0, 0, "B3", -1},
    {Kind::Label, "Label8", 133, 120, 0, 0, "B4", -1},
    {Kind::Label, "Label9", 165, 120, 0, 0, "B5", -1},
    {Kind::Label, "Label10", 197, 120, 0, 0, "B6", -1},
    {Kind::Label, "Label11", 240, 120, 0, 0, "Bonus Ball.", -1},
    {Kind::Label, "Label14", 352, 120, 0, 0, "Machine name.", -1},
    {Kind::Label, "Label15", 536, 120, 0, 0, "Ball set.", -1},
    {Kind::BallEdit, "DBE4", 32, 136, 22, 19, "B1", 9},
    {Kind::BallEdit, "DBE5", 64, 136, 22, 19, "B2", 10},
    {Kind::BallEdit, "DBE6", 96, 136, 22, 19, "B3", 11},
    {Kind::BallEdit, "DBE7", 128, 136, 22, 19, "B4", 12},
    {Kind::BallEdit, "DBE8", 160, 136, 22, 19, "B5", 13},
    {Kind::BallEdit, "DBE9", 192, 136, 22, 19, "B6", 14},
    {Kind::BallEdit, "DBE10", 256, 136, 22, 19, "BB", 15},
    {Kind::Edit, "DBEditEh6", 352, 136, 73, 19, "MACHINE", 7},
    {Kind::Edit, "DBEditEh7", 536, 136, 38, 19, "BALLSET", 8},
    {Kind::Button, "Button3", 150, 200, 340, 25, "Add a record", 16},
    {Kind::Button, "Button4", 150, 224, 340, 25, "Save record", 17},
    {Kind::Button, "Button1", 150, 248, 340, 25, "Set the results in ascending Date order from launch in 1994", 0},
    {Kind::Button, "Button2", 150, 272, 340, 25, "Set the results in descending Date order from present Date", 1},
    {Kind::Picture, "Image2", 32, 200, 70, 65, "", -1},
    {Kind::Picture, "Image3", 522, 200, 81, 73, "", -1},
    {Kind::Label, "Label18", 232, 302, 135, 13, "Ballvane by Quillby", -1},
};

// The label that names each edit, for screen readers.
constexpr std::pair<const char*, const char*> captions[] = {
    {"Label1", "DBEditEh1"}, {"Label2", "DBEditEh2"}, {"Label3", "DBEditEh3"}, {"Label12", "DBEditEh4"},
    {"Label13", "DBEditEh5"}, {"Label5", "DBE4"},      {"Label6", "DBE5"},      {"Label7", "DBE6"},
    {"Label8", "DBE7"},       {"Label9", "DBE8"},      {"Label10", "DBE9"},     {"Label11", "DBE10"},
    {"Label14", "DBEditEh6"}, {"Label15", "DBEditEh7"}};

const QString padMessage = QStringLiteral("Ball numbers lower than 10 are\nautomaticaly prefixed with a 0.");
const QString selfDestructMessage =
    QStringLiteral("Not entering a valid number will\nresult in a record self destruct!");
} // namespace

EntryPage::EntryPage(QWidget* page, DataSource* drawSource, Table* drawTable, DbNavigator* navigator)
    : QObject(page), m_drawSource(drawSource), m_drawTable(drawTable), m_navigator(navigator) {
    build(page);
}

void EntryPage::build(QWidget* page) {
    std::map<int, QWidget*> tabOrder;
    std::map<QString, QWidget*> controls;
    for (const Place& place : layout) {
        const QString name = QString::fromLatin1(place.name);
        const QString text = QString::fromUtf8(place.text);
        QWidget* control = nullptr;
        switch (place.kind) {
        case Kind::Label: {
            auto* label = new QLabel(text, page);
            label->adjustSize();
            control = label;
            break;
        }
        case Kind::Edit:
        case Kind::BallEdit: {
            auto* edit = new DbEdit(page, name);
            edit->setAlignment(Qt::AlignCenter);
            if (place.kind == Kind::Edit) edit->setColour(clInfoBk);
            edit->setBorderAlwaysDrawn(place.kind == Kind::BallEdit);
            edit->setDataSource(m_drawSource);
            edit->setDataField(text);
            control = edit;
            break;
        }
        case Kind::Button: control = new Button(page, name, text); break;
        case Kind::Picture: {
            auto* picture = new QLabel(page);
            picture->setPixmap(lotteryBallPicture());
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            picture->setAccessibleName(QStringLiteral("Lottery ball"));
            control = picture;
            break;
        }
        }
        control->setObjectName(name);
        control->move(place.left, place.top);
        if (place.width > 0) control->resize(place.width, place.height);
        if (place.tabOrder >= 0) tabOrder[place.tabOrder] = control;
        if (place.kind == Kind::Label || place.kind == Kind::Picture) control->setFocusPolicy(Qt::NoFocus);
        controls[name] = control;
    }
    for (const auto& [label, edit] : captions)
        static_cast<QLabel*>(controls.at(QString::fromLatin1(label)))->setBuddy(controls.at(QString::fromLatin1(edit)));
    QWidget* previous = nullptr;
    for (const auto& [order, control] : tabOrder) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }

    const auto edit = [&](const char* name) { return static_cast<DbEdit*>(controls.at(QString::fromLatin1(name))); };
    const auto button = [&](const char* name) { return static_cast<Button*>(controls.at(QString::fromLatin1(name))); };
    Button1 = button("Button1");
    Button2 = button("Button2");
    Button3 = button("Button3");
    Button4 = button("Button4");
    DBEditEh1 = edit("DBEditEh1");
    DBEditEh2 = edit("DBEditEh2");
    DBEditEh3 = edit("DBEditEh3");
    DBEditEh4 = edit("DBEditEh4");
    DBEditEh5 = edit("DBEditEh5");
    DBEditEh6 = edit("DBEditEh6");
    DBEditEh7 = edit("DBEditEh7");
    DBEditEh8 = edit("DBEditEh8");
    DBEditEh8->hide();
    ballEdits = {edit("DBE4"), edit("DBE5"), edit("DBE6"), edit("DBE7"), edit("DBE8"), edit("DBE9"), edit("DBE10")};

    auto* credit = static_cast<QLabel*>(controls.at(QStringLiteral("Label18")));
    credit->setFont(designFont(page->font().family(), QFontInfo(page->font()).pixelSize(), true));
    QPalette blue = credit->palette();
    blue.setColor(QPalette::WindowText, toQColor(clBlue));
    credit->setPalette(blue);

    // Each rule is written once and attached to every edit of its group.
    for (DbEdit* ball : ballEdits) {
        ball->setOnKeyPress(digitOnlyKeyPress);
        ball->setOnChange(ballBandingChange);
        ball->setOnExit([this](DbEdit& left) { ballEditExit(left); });
    }
    for (DbEdit* number : {DBEditEh1, DBEditEh4, DBEditEh5, DBEditEh7}) number->setOnKeyPress(digitOnlyKeyPress);
    DBEditEh5->setOnChange(sharesColourChange);

    Button3->setOnClick([this] { Button3Click(); });
    Button4->setOnClick([this] { Button4Click(); });
}

void EntryPage::ballEditExit(DbEdit& edit) {
    const BallExit action = ballExitAction(edit.text());
    if (action == BallExit::PadWithZero) {
        const QString digit = edit.text();
        Dialogs::current().showMessage(padMessage);
        edit.setText(QStringLiteral("0") + digit);
    } else if (action == BallExit::SelfDestruct) {
        Button3->setFocus(Qt::OtherFocusReason);
        Dialogs::current().showMessage(selfDestructMessage);
        m_navigator->doAction(DbNavigator::Action::Delete);
    }
}

void EntryPage::Button3Click() {
    Button1->performClick();
    m_drawTable->last();
    const QDate lastDate = m_drawTable->fieldByName(QStringLiteral("Date")).asDate();
    const QString lastDay = m_drawTable->fieldByName(QStringLiteral("Day")).asString();
    const NextDraw next = nextDraw(lastDay, lastDate);
    const QString dateText = newDrawDateText(next.date);
    const QString lastNumber = DBEditEh1->text();
    bool isNumber = false;
    const qint64 number = lastNumber.toLongLong(&isNumber);
    if (!isNumber) throw DataError(messages::invalidInteger.arg(lastNumber));
    m_navigator->doAction(DbNavigator::Action::Insert);
    DBEditEh8->setText(book::bonusMarker);
    DBEditEh3->setText(dateText);
    DBEditEh2->setText(next.day);
    DBEditEh1->setText(QString::number(number + 1));
    ballEdits.front()->setFocus(Qt::OtherFocusReason);
}

void EntryPage::Button4Click() { m_navigator->doAction(DbNavigator::Action::Post); }

} // namespace ballvane
