// Start-up of the claims worklist. Until the worklist window exists this shows
// that the connection to the hospital databases works.

#include "host/data/connection.h"
#include "host/data/database_error.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VANTIK Claims Worklist"));

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Folder of the embedded database."),
                                      QStringLiteral("DIR"), QStringLiteral("demo-db"));
    parser.addOption(dbOption);
    parser.process(app);

    try {
        const auto connection = vantik::Connection::openEmbedded(parser.value(dbOption));
        const vantik::ResultSet counts = connection->execute(QStringLiteral(
            "SELECT (SELECT count(1) FROM Patient_Data..tbPatient WITH (NOLOCK)) AS Admissions, "
            "(SELECT count(1) FROM Patient_Data..tbOutPatient WITH (NOLOCK)) AS Visits"));
        QLabel window(QStringLiteral("Connected to %1.\n%2 admissions, %3 out-patient visits.")
                          .arg(connection->description(), counts.text(0, 0), counts.text(0, 1)));
        window.setWindowTitle(QStringLiteral("VANTIK Claims Worklist"));
        window.setMargin(24);
        window.show();
        return app.exec();
    } catch (const vantik::DatabaseError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("VANTIK Claims Worklist"), error.message());
        return 1;
    }
}
