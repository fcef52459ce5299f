#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QFileInfo;

namespace MTools {

// An editable table model over a simple quoted CSV file: every field between
// double quotes, fields separated by commas, one row a line, the first row the
// header (column titles and column count). There is no escape: a double quote
// or a line break inside a field does not survive a save and load.
// Rows shorter than the header are filled up with empty fields when loaded;
// longer rows keep their extra fields. Saving replaces the file only once the
// whole new text is written; a pipe or a device is written in place
// (MTools::SafeSave).
class CsvModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit CsvModel(QObject* parent = nullptr);
    ~CsvModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Inserts empty rows before data row `row` (0 to rowCount()). False for a
    // row out of that range, a negative count or a model without a header.
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Removes data rows row to row + count - 1; false when they are not all
    // there. A count of 0 changes nothing and succeeds.
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces the rows with those of the file; false (model unchanged) when
    // the file cannot be opened, false after loading when it could not be read
    // to the end.
    bool loadFile(const QString& path);
    // Writes every row, header first; false when the file cannot be written
    // completely, in which case an existing file is left as it was.
    bool saveFile(const QString& path);

    // The fields between pairs of double quotes, in order; a field whose
    // closing quote never comes is dropped.
    static QStringList splitLine(const QString& line);

private:
    QList<QStringList> m_lstRows;  // row 0 is the header; data row r is element r + 1
};

// A zlib stream (RFC 1950) of the bytes at the strongest compression.
QByteArray zlibCompress(const QByteArray& data);

// The file name cut before its last '.'; the whole name when it has none.
QString fileNameWithoutSuffix(const QFileInfo& info);

}  // namespace MTools
