// libFuzzer entry for the RTF reader: every input must be read without a
// crash, a leak or a hang, as bytes and as an already decoded string; what
// the writer makes of the result must read back to the same plain text.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static int argc = 1;
    static char name[] = "rtf_reader_fuzzer";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    rtf::RtfReader::read(bytes, &document);
    rtf::RtfReader::read(QString::fromUtf8(bytes), &document);

    QTextDocument back;
    rtf::RtfReader::read(rtf::RtfWriter::write(document), &back);
    if (back.toPlainText() != document.toPlainText())
        __builtin_trap();
    return 0;
}
