// libFuzzer entry for the .xlsx reader and the sheet recognizer. A zip input
// is read as the workbook; any other input becomes the XML of its one
// worksheet (with the header row's strings shared), so the fuzzer reaches
// the sheet reader directly.
#include "Deadline.h"
#include "TableRecognizer.h"
#include "XlsxReader.h"
#include "ZipArchive.h"
#include "import_fuzzers.h"

#include <cstdint>

using namespace formats::import;

IMPORT_FUZZER("xlsx_reader_fuzzer")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!bytes.startsWith("PK")) {
        docx::ZipArchive zip;
        zip.add(QStringLiteral("xl/workbook.xml"),
                "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
        zip.add(QStringLiteral("xl/_rels/workbook.xml.rels"),
                "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>");
        zip.add(QStringLiteral("xl/sharedStrings.xml"),
                "<sst><si><t>题干</t></si><si><t>选项A</t></si><si><t>选项B</t></si><si><t>答案</t></si>"
                "<si><t>题型</t></si><si><t>解析</t></si></sst>");
        zip.add(QStringLiteral("xl/worksheets/sheet1.xml"), bytes);
        bytes = zip.finish();
    }
    try {
        const Deadline deadline;
        Recognition r;
        for (const Sheet &sheet : readXlsx(bytes, deadline))
            recognizeSheet(sheet, 1 + int(size % 5), r);
        checkRecognition(r);
    } catch (const ImportError &) {
    }
    return 0;
}
