#include "DrawGrid.h"

#include "RowStriping.h"
#include "widgets/Fonts.h"

namespace ballvane {

void stripeRows(const DbGrid&, CellParams& params) { params.background = stripeColour(params.recNo); }

DbGrid* createDrawGrid(QWidget* page, DataSource* drawSource) {
    auto* grid = new DbGrid(page, QStringLiteral("DBGridEh1"));
    grid->setGeometry(0, 0, 632, 332);
    grid->setFont(designFont(QStringLiteral("Microsoft Sans Serif"), 11));
    grid->setTitleFont(designFont(QStringLiteral("MS Sans Serif"), 11), clBlack);
    grid->setFixedColour(clGreen);
    grid->setCellColour(clInfoBk);
    grid->setLines(true, false);
    grid->setRowExtra(2);
    const auto column = [](const char* field, const char* title, int width) {
        return GridColumn{QString::fromLatin1(field), QString::fromUtf8(title), width, {}, {}, Qt::AlignCenter, false};
    };
    GridColumn marker = column("BBI", "", 26);
    marker.font = designFont(QStringLiteral("MS Sans Serif"), 13, true);
    marker.fontColour = clLime;
    grid->setColumns({column("DRAW#", "", 60), column("Day", "", 30), column("Date", "", 68), column("B1", "", 26),
                      column("B2", "", 26), column("B3", "", 26), column("B4", "", 26), column("B5", "", 26),
                      column("B6", "", 26), marker, column("BB", "", 26),
                      column("JACKPOT", "Jackpot \u00F7 Share's", 94), column("WINNERS", "Share", 32),
                      column("MACHINE", "Machine", 74), column("BALLSET", "Set", 42)});
    grid->setOnGetCellParams(stripeRows);
    grid->setDataSource(drawSource);
    return grid;
}

} // namespace ballvane
