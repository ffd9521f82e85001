#pragma once

#include "Recognized.h"
#include "XlsxReader.h"

namespace formats::import {

// Questions of a sheet with a header row (题干, 选项A … 选项F or A … F, 答案,
// 解析, 题型, 章节/分类, 分值 in any order), one question a row. False when
// the sheet has no header row with a stem column.
bool recognizeSheet(const Sheet &sheet, int subject, Recognition &out);

// Rows of comma- or tab-separated text (quotes as spreadsheets write them).
Sheet parseDelimited(const QString &text);

} // namespace formats::import
