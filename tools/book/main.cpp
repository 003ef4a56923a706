#include "store/Book.h"
#include "store/DrawCsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <QTextStream>

using namespace ballvane::book;

namespace {

const char* const usage =
    "Usage:\n"
    "  ballvane-book create [FOLDER]       make a new book (ballvane.db) with the example\n"
    "                                      ticket lines and the game's first eight draws\n"
    "  ballvane-book import FILE [FOLDER]  add the draws of a CSV file to the book\n"
    "  ballvane-book export FILE [FOLDER]  write every draw of the book to a CSV file\n"
    "  ballvane-book --help                show this text\n"
    "\n"
    "FOLDER is the folder holding ballvane.db; it defaults to the current folder.\n"
    "import reads the book's own export, the operator's draw history and the public\n"
    "archive layout; a file with any fault adds nothing.\n";

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString& message) {
    err() << "ballvane-book: " << message << "\n\n" << usage;
    return 2;
}

QString draws(int count) {
    return count == 1 ? QStringLiteral("1 draw") : QStringLiteral("%1 draws").arg(count);
}

int run(const QStringList& args) {
    if (args.isEmpty()) return usageError(QStringLiteral("say what to do"));
    const QString command = args.front();
    if (command == u"--help" || command == u"-h" || command == u"help") {
        out() << usage;
        return 0;
    }
    const bool needsFile = command == u"import" || command == u"export";
    if (!needsFile && command != u"create")
        return usageError(QStringLiteral("unknown command '%1'").arg(command));
    const qsizetype fixed = needsFile ? 2 : 1;
    if (args.size() < fixed) return usageError(QStringLiteral("%1 needs the CSV file to use").arg(command));
    if (args.size() > fixed + 1) return usageError(QStringLiteral("too many arguments for %1").arg(command));
    const QString folder = args.size() > fixed ? args.at(fixed) : QDir::currentPath();

    if (command == u"create") {
        createBook(folder);
        out() << "Made a new book at " << QDir::toNativeSeparators(bookPath(folder)) << ".\n";
    } else if (command == u"import") {
        const QString file = args.at(1);
        try {
            const ImportSummary summary = importDraws(folder, file);
            out() << "Added " << draws(summary.added) << ", skipped " << summary.skipped
                  << " already in the book.\n";
        } catch (const BookError& error) {
            err() << "ballvane-book: " << error.message() << "\n"
                  << "Nothing of " << QDir::toNativeSeparators(file) << " was added.\n";
            return 1;
        }
    } else {
        const QString file = args.at(1);
        const int count = exportDraws(folder, file);
        out() << "Wrote " << draws(count) << " to " << QDir::toNativeSeparators(file) << ".\n";
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ballvane-book"));
    try {
        return run(QCoreApplication::arguments().mid(1));
    } catch (const BookError& error) {
        err() << "ballvane-book: " << error.message() << "\n";
    } catch (const std::exception& error) {
        err() << "ballvane-book: " << error.what() << "\n";
    }
    return 1;
}
