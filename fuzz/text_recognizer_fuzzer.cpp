// libFuzzer entry for the text decoder and the text recognizer (running
// text, answer lists, tables, Aiken, GIFT): every input ends in questions or
// in ImportError, without a crash, a leak or a hang.
#include "Deadline.h"
#include "Recognizer.h"
#include "TextDecoder.h"
#include "import_fuzzers.h"

#include <cstdint>

using namespace formats::import;

IMPORT_FUZZER("text_recognizer_fuzzer")

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const Deadline deadline;
        const QString suffix = size % 7 == 0 ? QStringLiteral("gift") : QStringLiteral("txt");
        const Recognition r = recognizeText(decodeText(bytes), suffix, 1 + int(size % 5), deadline);
        checkRecognition(r);
    } catch (const ImportError &) {
    }
    return 0;
}
