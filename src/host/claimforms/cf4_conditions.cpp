#include "host/claimforms/cf4_conditions.h"

#include "host/data/connection.h"
#include "host/data/database_error.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

#include <QSet>

#include <algorithm>

namespace vantik {

namespace {

using ecf4::Library;

QString libraryName(Library library)
{
    return QLatin1String(ecf4::libraryInfo(library).name);
}

// As SQL Server compares the code table's keys: letter case and trailing blanks aside.
QString folded(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end).trimmed().toCaseFolded();
}

QString key(Library library, const QString& part)
{
    return libraryName(library) + QChar(0x1f) + part;
}

QString quoted(const QString& text)
{
    return QLatin1Char('\'') + sqlQuote(text) + QLatin1Char('\'');
}

QString rowsStatement(const QString& idNum, Library library, const Cf4Wording& wording)
{
    return QStringLiteral("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE IDNum = %1 AND AreaCat = %2 AND "
                          "AreaSubCat = %3")
        .arg(quoted(idNum), quoted(Cf4Wording::area(library)), quoted(wording.subArea(library)));
}

QString oneRowStatement(const QString& idNum, Library library, const Cf4Wording& wording, const QString& description)
{
    return rowsStatement(idNum, library, wording) + QStringLiteral(" AND Description = %1").arg(quoted(description));
}

void sortRows(QList<SeenRow>& rows)
{
    std::sort(rows.begin(), rows.end(), [](const SeenRow& a, const SeenRow& b) { return a.texts < b.texts; });
}

QList<SeenRow> rowsOf(Recordset& rows)
{
    QList<SeenRow> read;
    for (; !rows.eof(); rows.moveNext()) {
        SeenRow row;
        for (int i = 0; i < rows.fieldCount(); ++i) {
            row.columns << rows.fieldName(i);
            row.texts << rows.field(i);
            row.nulls.push_back(rows.isNull(i));
        }
        read.push_back(std::move(row));
    }
    sortRows(read);
    return read;
}

int placeInLibrary(Library library, const QString& id)
{
    const auto entries = ecf4::libraryInfo(library).entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (id == QLatin1String(entries[i].id))
            return int(i);
    }
    return int(entries.size());
}

// What finds a record to delete: every text the window showed of it.
const char* const kDeleteKey[] = {"IDNum", "AreaCat", "AreaSubCat", "Description", "Remarks"};

const char* kUsualSubAreas[] = {"SKIN/EXTREMITIES", "HEENT", "CHEST/LUNGS", "CVS", "ABDOMEN", "NEURO-EXAM", "GU(IE)",
                                "SIGNS"};

} // namespace

Cf4Wording Cf4Wording::read(Connection& connection)
{
    Cf4Wording wording;
    const ResultSet rows = connection.execute(QStringLiteral(
        "SELECT AreaCat, AreaSubCat, Description, Library, LibraryID FROM MEDICARE..tbCF4FindingCode "
        "ORDER BY AreaCat, AreaSubCat, Description"));
    for (int r = 0; r < rows.rowCount(); ++r)
        wording.add(rows.text(r, 0), rows.text(r, 1), rows.text(r, 2), rows.text(r, 3), rows.text(r, 4));
    return wording;
}

void Cf4Wording::add(const QString& area, const QString& subArea, const QString& description, const QString& library,
                     const QString& id)
{
    const std::optional<Library> named = ecf4::libraryNamed(library.trimmed());
    if (!named || folded(area) != folded(Cf4Wording::area(*named)))
        return;
    const QString entry = id.trimmed();
    if (!m_words.contains(key(*named, entry)))
        m_words.insert(key(*named, entry), description.trimmed());
    m_ids.insert(key(*named, folded(description)), entry);
    ++m_subAreas[libraryName(*named)][subArea.trimmed()];
}

QString Cf4Wording::area(Library library)
{
    return library == Library::SignsSymptoms ? QStringLiteral("SignsSymptoms") : QStringLiteral("PhysicalExam");
}

QString Cf4Wording::subArea(Library library) const
{
    // The GU marking's entry names the GU row's sub-area, whatever the table says.
    if (library == Library::Genitourinary)
        return QStringLiteral("GU(IE)");
    const auto counts = m_subAreas.constFind(libraryName(library));
    if (counts == m_subAreas.constEnd() || counts->isEmpty())
        return QLatin1String(kUsualSubAreas[int(library)]);
    QString most;
    int best = 0;
    for (auto it = counts->constBegin(); it != counts->constEnd(); ++it) {
        if (it.value() > best || (it.value() == best && it.key() < most)) {
            most = it.key();
            best = it.value();
        }
    }
    return most;
}

QString Cf4Wording::words(Library library, const QString& id) const
{
    return m_words.value(key(library, id));
}

QString Cf4Wording::idOf(Library library, const QString& description) const
{
    return m_ids.value(key(library, folded(description)));
}

QList<SeenRow> readConditionRows(Connection& connection, const QString& idNum, Library library,
                                 const Cf4Wording& wording)
{
    Recordset rows;
    rows.open(rowsStatement(idNum, library, wording), connection, CursorType::ForwardOnly, LockType::ReadOnly);
    return rowsOf(rows);
}

QList<SeenRow> readAllConditionRows(Connection& connection, const QString& idNum)
{
    Recordset rows;
    rows.open(QStringLiteral("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE IDNum = %1 AND AreaCat IN "
                             "('PhysicalExam', 'SignsSymptoms')")
                  .arg(quoted(idNum)),
              connection, CursorType::ForwardOnly, LockType::ReadOnly);
    return rowsOf(rows);
}

RecordedFindings recordedFindings(const QList<SeenRow>& rows, Library library, const Cf4Wording& wording)
{
    RecordedFindings recorded;
    QStringList othersRemarks;
    for (const SeenRow& row : rows) {
        const QString description = row.text(QStringLiteral("Description"));
        const QString id = wording.idOf(library, description);
        if (id.isEmpty() || !ecf4::libraryEntry(library, id)) {
            recorded.uncoded << description.trimmed();
            continue;
        }
        const QString remark = row.text(QStringLiteral("Remarks")).trimmed();
        if (id == QLatin1String(ecf4::kOthersId) && !remark.isEmpty() && !othersRemarks.contains(remark))
            othersRemarks << remark;
        const bool known = std::any_of(recorded.chosen.begin(), recorded.chosen.end(),
                                       [&](const ChosenFinding& c) { return c.id == id; });
        if (!known)
            recorded.chosen.push_back({id, QString()});
    }
    std::sort(recorded.chosen.begin(), recorded.chosen.end(), [&](const ChosenFinding& a, const ChosenFinding& b) {
        return placeInLibrary(library, a.id) < placeInLibrary(library, b.id);
    });
    for (ChosenFinding& finding : recorded.chosen) {
        if (finding.id == QLatin1String(ecf4::kOthersId))
            finding.remark = othersRemarks.join(QStringLiteral("; "));
    }
    return recorded;
}

QString saveConditions(Connection& connection, const QString& idNum, Library library, Cf4Wording& wording,
                       const QList<SeenRow>& seen, const QList<ChosenFinding>& chosen, const QString& clerk,
                       const QDateTime& now)
{
    QList<SeenRow> expected = seen;
    sortRows(expected);
    if (readConditionRows(connection, idNum, library, wording) != expected)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));

    const auto idOfRow = [&](const SeenRow& row) { return wording.idOf(library, row.text(QStringLiteral("Description"))); };
    const QString othersId = QLatin1String(ecf4::kOthersId);
    QStringList logged;
    QList<ChosenFinding> toAdd;
    QList<SeenRow> toDelete;
    for (const ChosenFinding& finding : chosen) {
        const ecf4::LibraryEntry* entry = ecf4::libraryEntry(library, finding.id);
        const QString shown = entry ? QString::fromUtf8(entry->description) : finding.id;
        logged << (finding.id == othersId ? shown + QStringLiteral(" (") + finding.remark + QLatin1Char(')') : shown);
        QList<SeenRow> records;
        for (const SeenRow& row : seen) {
            if (idOfRow(row) == finding.id)
                records << row;
        }
        if (records.isEmpty()) {
            toAdd.push_back(finding);
            continue;
        }
        // "Others" says what was found in the remark of its record; the page shows
        // the remarks of several such records as one, and saves it as one.
        if (finding.id != othersId
            || recordedFindings(records, library, wording).chosen.value(0).remark == finding.remark)
            continue;
        const QString statement =
            oneRowStatement(idNum, library, wording, records.first().text(QStringLiteral("Description")));
        const std::optional<SeenRow> first = readSeenRow(connection, statement);
        if (!first || !records.contains(*first))
            throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
        saveAsSeen(connection, statement, first, [&](Recordset& record, bool) {
            record.setField(QStringLiteral("Code"), QStringLiteral("X"));
            record.setField(QStringLiteral("Result"), QStringLiteral("1"));
            record.setField(QStringLiteral("Remarks"), finding.remark);
        });
        records.removeOne(*first);
        toDelete += records;
    }

    for (const ChosenFinding& finding : toAdd) {
        QString words = wording.words(library, finding.id);
        if (words.isEmpty()) {
            // PhilHealth's words, tied to the entry at once so that the check reads them.
            const ecf4::LibraryEntry* entry = ecf4::libraryEntry(library, finding.id);
            words = entry ? QString::fromUtf8(entry->description) : finding.id;
            addRecord(connection,
                      QStringLiteral("SELECT AreaCat, AreaSubCat, Description, Library, LibraryID, ChangedBy, "
                                     "ChangedOn FROM MEDICARE..tbCF4FindingCode WHERE 1 = 0"),
                      [&](Recordset& row) {
                          row.setField(QStringLiteral("AreaCat"), Cf4Wording::area(library));
                          row.setField(QStringLiteral("AreaSubCat"), wording.subArea(library));
                          row.setField(QStringLiteral("Description"), words);
                          row.setField(QStringLiteral("Library"), libraryName(library));
                          row.setField(QStringLiteral("LibraryID"), finding.id);
                          row.setField(QStringLiteral("ChangedBy"), clerk.toUpper());
                          row.setField(QStringLiteral("ChangedOn"), now);
                      });
            wording.add(Cf4Wording::area(library), wording.subArea(library), words, libraryName(library), finding.id);
        }
        addRecord(connection,
                  QStringLiteral("SELECT * FROM PATIENT_DATA..tbPatientConditions WHERE IDNum = %1 AND 1 = 0")
                      .arg(quoted(idNum)),
                  [&](Recordset& row) {
                      row.setField(QStringLiteral("IDNum"), idNum);
                      row.setField(QStringLiteral("AreaCat"), Cf4Wording::area(library));
                      row.setField(QStringLiteral("AreaSubCat"), wording.subArea(library));
                      row.setField(QStringLiteral("Description"), words);
                      row.setField(QStringLiteral("Code"), QStringLiteral("X"));
                      row.setField(QStringLiteral("Result"), QStringLiteral("1"));
                      row.setField(QStringLiteral("Remarks"),
                                   finding.id == QLatin1String(ecf4::kOthersId) ? finding.remark : QString());
                      if (hasField(row, QStringLiteral("EncodedBy")))
                          row.setField(QStringLiteral("EncodedBy"), clerk);
                  });
    }

    // A coded record of an entry no longer chosen goes; the statement finds it by
    // every text the window showed, so a record changed meanwhile stays.
    const QString table = connection.nativeTableName(TableRef{QStringLiteral("Patient_Data"),
                                                              QStringLiteral("tbPatientConditions")});
    for (const SeenRow& row : seen) {
        const QString id = idOfRow(row);
        if (!id.isEmpty() && ecf4::libraryEntry(library, id)
            && std::none_of(chosen.begin(), chosen.end(), [&](const ChosenFinding& c) { return c.id == id; }))
            toDelete << row;
    }
    // Records alike in every text the statement compares go with one statement.
    QSet<QStringList> deleted;
    for (const SeenRow& row : toDelete) {
        QStringList key;
        for (const char* column : kDeleteKey)
            key << row.text(QLatin1String(column));
        if (deleted.contains(key))
            continue;
        deleted.insert(key);
        QStringList where;
        QVariantList values;
        for (const char* column : kDeleteKey) {
            const QString native = connection.nativeColumnName(QLatin1String(column));
            qsizetype at = row.columns.size() - 1;
            while (at >= 0 && row.columns.at(at).compare(QLatin1String(column), Qt::CaseInsensitive) != 0)
                --at;
            // A HIS that leaves a remark NULL: "= ''" would never find the record.
            if (at >= 0 && row.nulls[std::size_t(at)]) {
                where << native + QStringLiteral(" IS NULL");
                continue;
            }
            where << native + QStringLiteral(" = ?");
            values << row.text(QLatin1String(column));
        }
        const int gone = connection.executeNative(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, where.join(QStringLiteral(" AND "))), values);
        if (gone == 0)
            throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    }
    return logged.isEmpty() ? QStringLiteral("no finding") : logged.join(QStringLiteral("; "));
}

bool isEmptyRemark(const QString& remark)
{
    QString text = remark.simplified().toCaseFolded();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    text = text.trimmed();
    for (const char* placeholder : {"", "none", "na", "n/a", "not applicable", "n.a"}) {
        if (text == QLatin1String(placeholder))
            return true;
    }
    return false;
}

} // namespace vantik
