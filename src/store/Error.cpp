#include "Error.h"

#include <sqlite3.h>

namespace store {

Condition conditionOfResult(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Condition::ReadOnly;
    case SQLITE_FULL:
        return Condition::DiskFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Condition::Damaged;
    default:
        return Condition::Other;
    }
}

QString Error::learnerMessage() const
{
    switch (m_condition) {
    case Condition::ReadOnly:
        return QStringLiteral("题库文件不能写入，答题记录无法保存！");
    case Condition::DiskFull:
        return QStringLiteral("磁盘已满，答案没有保存，请腾出空间！");
    case Condition::Damaged:
        return QStringLiteral("题库文件已损坏，无法读写！");
    case Condition::Other:
        break;
    }
    return message();
}

} // namespace store
