#include "CsvModel.h"

#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSize>
#include <QTextStream>

#include <limits>

namespace MTools {

CsvModel::CsvModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

CsvModel::~CsvModel() = default;

int CsvModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_lstRows.isEmpty())
        return 0;
    return m_lstRows.size() - 1;
}

int CsvModel::columnCount(const QModelIndex& /*parent*/) const
{
    return m_lstRows.isEmpty() ? 0 : m_lstRows.first().size();
}

bool CsvModel::hasChildren(const QModelIndex& parent) const
{
    return !parent.isValid();
}

QVariant CsvModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || m_lstRows.isEmpty() || index.row() < 0 || index.row() >= rowCount())
        return QVariant();
    if (role == Qt::SizeHintRole)
        return QSize(30, 12);
    const QStringList& row = m_lstRows.at(index.row() + 1);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (index.column() < 0 || index.column() >= row.size())
            return QVariant();
        return row.at(index.column());
    case Qt::ToolTipRole: {
        QString tip = QStringLiteral("<table>");
        for (int i = 0; i < row.size(); ++i) {
            if (row.at(i).isEmpty())
                continue;
            // One arg() call, so a "%2" inside a title is not filled in again.
            tip += QStringLiteral("<tr><td><b>%1</b>: %2</td></tr>")
                       .arg(headerData(i, Qt::Horizontal, Qt::DisplayRole).toString(), row.at(i));
        }
        tip += QStringLiteral("</table>");
        return tip;
    }
    default:
        return QVariant();
    }
}

bool CsvModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return false;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    QStringList& row = m_lstRows[index.row() + 1];
    if (index.column() >= row.size())
        return false;
    row[index.column()] = value.toString();
    emit dataChanged(index, index, {});
    return true;
}

QVariant CsvModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (m_lstRows.isEmpty())
        return QVariant();
    if (role == Qt::DisplayRole) {
        if (orientation == Qt::Horizontal) {
            const QStringList& header = m_lstRows.first();
            if (section < 0 || section >= header.size())
                return QVariant();
            return header.at(section);
        }
        return section + 1;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool CsvModel::insertRows(int row, int count, const QModelIndex& /*parent*/)
{
    if (m_lstRows.isEmpty() || row < 0 || row > rowCount() || count < 0)
        return false;
    // More rows than an int can count would overflow the row numbers.
    if (qint64(m_lstRows.size()) + count > std::numeric_limits<int>::max())
        return false;
    if (count == 0)
        return true;
    const QStringList empty = QVector<QString>(columnCount(QModelIndex())).toList();
    beginInsertRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_lstRows.insert(row + 1, empty);
    endInsertRows();
    return true;
}

bool CsvModel::removeRows(int row, int count, const QModelIndex& /*parent*/)
{
    if (row < 0 || count < 0 || qint64(row) + count > rowCount())
        return false;
    if (count == 0)
        return true;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_lstRows.removeAt(row + 1);
    endRemoveRows();
    return true;
}

Qt::ItemFlags CsvModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || m_lstRows.isEmpty())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool CsvModel::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    beginResetModel();
    m_lstRows.clear();
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        QStringList row = splitLine(stream.readLine());
        // A view asks for every column of the header: fill short rows up.
        if (!m_lstRows.isEmpty()) {
            while (row.size() < m_lstRows.first().size())
                row.append(QString());
        }
        m_lstRows.append(row);
    }
    const bool ok = stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
    file.close();
    endResetModel();
    return ok;
}

bool CsvModel::saveFile(const QString& path)
{
    SafeSave file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    for (const QStringList& row : qAsConst(m_lstRows)) {
        // A row without fields is an empty line: "" would read back as one
        // empty field and change the row (for the header, the column count).
        if (!row.isEmpty())
            stream << '"' << row.join(QStringLiteral("\",\"")) << '"';
        stream << '\n';
    }
    stream.flush();
    if (stream.status() != QTextStream::Ok) {
        file.cancel();
        return false;
    }
    return file.commit();
}

QStringList CsvModel::splitLine(const QString& line)
{
    QStringList fields;
    QString field;
    bool inQuotes = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"')) {
            if (inQuotes) {
                fields.append(field);
                field.clear();
            }
            inQuotes = !inQuotes;
        } else if (inQuotes) {
            field.append(c);
        }
    }
    return fields;
}

QByteArray zlibCompress(const QByteArray& data)
{
    if (data.isEmpty()) {
        // qCompress gives only its length prefix for no bytes; this is the
        // level-9 zlib stream of nothing: header 78 DA, an empty final fixed
        // block 03 00, Adler-32 00 00 00 01.
        return QByteArray::fromHex("78da030000000001");
    }
    // qCompress puts the uncompressed length (4 bytes, big-endian) in front.
    return qCompress(data, 9).mid(4);
}

QString fileNameWithoutSuffix(const QFileInfo& info)
{
    const QString name = info.fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return info.baseName();
    return name.left(dot);
}

}  // namespace MTools
