// libFuzzer entry for the .docx reader and the recognizer behind it. An input
// that is a zip is read as the package; any other input is taken as the
// document's body XML, so that the fuzzer reaches the XML and the recognizer
// without first having to find a valid zip. A file that cannot be read must
// end in ImportError, never in a crash, a leak or a hang.
#include "Deadline.h"
#include "DocxReader.h"
#include "Recognizer.h"
#include "ZipArchive.h"
#include "import_fuzzers.h"

#include <cstdint>

using namespace formats::import;

IMPORT_FUZZER("docx_reader_fuzzer")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!bytes.startsWith("PK")) {
        docx::ZipArchive zip;
        zip.add(QStringLiteral("word/document.xml"), bytes);
        bytes = zip.finish();
    }
    try {
        const Deadline deadline;
        const Recognition r = recognizeDocument(readDocx(bytes, deadline), 1 + int(size % 5), deadline);
        checkRecognition(r);
    } catch (const ImportError &) {
    }
    return 0;
}
