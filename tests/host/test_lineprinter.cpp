#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "host/lineprinter.h"

using brimwell::LinePrinter;

namespace {

QString output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        return QStringLiteral("<%1 failed: %2>").arg(program, process.readAllStandardError());
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The lines of text on one page, blank lines left out.
QStringList textOnPage(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return output("pdftotext", {"-layout", "-f", n, "-l", n, pdf, "-"})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .replaceInStrings(QRegularExpression("^\\s+|[\\s\\f]+$"), QString())
        .filter(QRegularExpression("\\S"));
}

int pageCount(const QString& pdf) {
    const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(output("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// A4 at 72 dots per inch, so that the device's units are the PDF's points.
void inPoints(QPdfWriter& writer, double marginMillimetres) {
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(
        QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
        QPageLayout::Millimeter);
}

}  // namespace

class LinePrinterTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private Q_SLOTS:
    void lines_come_out_in_order_and_a_new_page_starts_the_next_page() {
        const QString pdf = dir_.filePath("order.pdf");
        QPdfWriter writer(pdf);
        LinePrinter printer(writer);
        QVERIFY(printer.begin());
        printer.setX(12 * printer.textWidth("1") / 2);
        printer.printLine("Level 0.00 in");
        printer.printLine("");
        printer.printLine("Level 1.00 in");
        printer.newPage();
        printer.printLine("Level 2.00 in");
        QVERIFY(printer.end());

        QCOMPARE(pageCount(pdf), 2);
        QCOMPARE(textOnPage(pdf, 1), QStringList({"Level 0.00 in", "Level 1.00 in"}));
        QCOMPARE(textOnPage(pdf, 2), QStringList({"Level 2.00 in"}));
    }

    void printing_a_line_moves_down_one_line_height_and_back_to_the_left_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::newRow("a line at the top") << "96.00 - 96.00" << 0.0f << 0.0f;
        QTest::newRow("an indented line") << "96.00 - 96.00" << 57.5f << 310.25f;
        QTest::newRow("an empty line") << "" << 57.5f << 100.0f;
    }

    void printing_a_line_moves_down_one_line_height_and_back_to_the_left() {
        QFETCH(QString, text);
        QFETCH(float, x);
        QFETCH(float, y);
        QPdfWriter writer(dir_.filePath("moves.pdf"));
        LinePrinter printer(writer);
        QVERIFY(printer.begin());
        QCOMPARE(printer.x(), 0.0f);
        QCOMPARE(printer.y(), 0.0f);
        const auto lineHeight = static_cast<float>(QFontMetricsF(QFont(), &writer).height());
        QCOMPARE(printer.textHeight("1"), lineHeight);
        QCOMPARE(printer.textHeight("1\n2"), 2 * lineHeight);

        printer.setX(x);
        printer.setY(y);
        printer.printLine(text);
        QCOMPARE(printer.x(), 0.0f);
        QCOMPARE(printer.y(), y + lineHeight);
        QVERIFY(printer.end());
    }

    void a_line_is_printed_with_its_top_at_the_position_in_the_printable_area() {
        const QString pdf = dir_.filePath("top.pdf");
        QPdfWriter writer(pdf);
        inPoints(writer, 20);
        LinePrinter printer(writer);
        const double margin = 20 / 25.4 * 72;
        QVERIFY(std::abs(printer.pageHeight() - (297 / 25.4 * 72 - 2 * margin)) < 1);
        QVERIFY(printer.begin());
        printer.setX(36);
        printer.setY(100);
        printer.printLine("Capacity");
        QVERIFY(printer.end());

        const auto word =
            QRegularExpression(R"re(xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>Capacity<)re")
                .match(output("pdftotext", {"-bbox", pdf, "-"}));
        QVERIFY2(word.hasMatch(), "the word is not in the PDF");
        QVERIFY2(std::abs(word.captured(1).toDouble() - (margin + 36)) < 1,
                 qPrintable(word.captured(0)));
        QVERIFY2(std::abs(word.captured(2).toDouble() - (margin + 100)) < 2,
                 qPrintable(word.captured(0)));
    }

    void a_document_that_cannot_start_prints_nothing_and_reports_failure() {
        QPdfWriter writer(dir_.filePath("no such folder/chart.pdf"));
        LinePrinter printer(writer);
        QVERIFY(!printer.begin());
        printer.printLine("Level 0.00 in");
        printer.newPage();
        QVERIFY(!printer.end());
        QVERIFY(!QFile::exists(dir_.filePath("no such folder/chart.pdf")));
    }
};

QTEST_MAIN(LinePrinterTest)
#include "test_lineprinter.moc"
