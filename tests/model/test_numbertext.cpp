#include <QtTest>

#include <cmath>
#include <random>
#include <string>

#include "model/text/numbertext.h"

using namespace brimwell;

namespace {
const NumberFormat kPoint{".", ","};
const NumberFormat kComma{",", "."};

const NumberFormat kArabic{"\u066b", "\u066c"};

NumberFormat formatNamed(const QString& name) {
    return name == "comma" ? kComma : name == "arabic" ? kArabic : kPoint;
}
}  // namespace

class NumberTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void strict_reading_takes_whole_numbers_in_the_users_notation_data() {
        QTest::addColumn<QString>("notation");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "point" << "96" << true << 96.0;
        QTest::newRow("blanks around") << "point" << "  2438.4 \t" << true << 2438.4;
        QTest::newRow("sign and exponent") << "point" << "-5.4E-06" << true << -5.4e-6;
        QTest::newRow("plus sign") << "point" << "+7" << true << 7.0;
        QTest::newRow("point first") << "point" << ".5" << true << 0.5;
        QTest::newRow("point last") << "point" << "5." << true << 5.0;
        QTest::newRow("grouped") << "point" << "10,000" << true << 10000.0;
        QTest::newRow("grouped twice") << "point" << "1,234,567.5" << true << 1234567.5;
        QTest::newRow("bad group") << "point" << "1,5" << false << 0.0;
        QTest::newRow("a lone 0 is no group") << "point" << "-0,125" << false << 0.0;
        QTest::newRow("a lone 0 is no group in comma notation") << "comma" << "0.125" << false << 0.0;
        QTest::newRow("group after point") << "point" << "1.234,567" << false << 0.0;
        QTest::newRow("empty") << "point" << "" << false << 0.0;
        QTest::newRow("blank") << "point" << "   " << false << 0.0;
        QTest::newRow("letters") << "point" << "abc" << false << 0.0;
        QTest::newRow("trailing word") << "point" << "9000.88 gal" << false << 0.0;
        QTest::newRow("lone point is 0") << "point" << "." << true << 0.0;
        QTest::newRow("lone comma with a sign is 0") << "comma" << " -, " << true << 0.0;
        QTest::newRow("lone sign") << "point" << "-" << false << 0.0;
        QTest::newRow("exponent without digits") << "point" << "1e" << false << 0.0;
        QTest::newRow("overflow") << "point" << "1e400" << false << 0.0;
        QTest::newRow("underflow is zero") << "point" << "1e-400" << true << 0.0;
        QTest::newRow("huge exponent") << "point" << "1e99999999999" << false << 0.0;
        QTest::newRow("infinity word") << "point" << "inf" << false << 0.0;
        QTest::newRow("comma decimal") << "comma" << "2438,4" << true << 2438.4;
        QTest::newRow("comma grouped") << "comma" << "1.234,5" << true << 1234.5;
        QTest::newRow("point is a bad group in comma notation") << "comma" << "1.5" << false << 0.0;
        QTest::newRow("two-byte separators") << "arabic" << "1\u066c234\u066b5" << true << 1234.5;
    }
    void strict_reading_takes_whole_numbers_in_the_users_notation() {
        QFETCH(QString, notation);
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        const auto read = readStrict(text.toStdString(), formatNamed(notation));
        QCOMPARE(read.has_value(), isNumber);
        if (isNumber) {
            QCOMPARE(*read, value);
        }
    }

    void lenient_reading_takes_the_leading_number_data() {
        QTest::addColumn<QString>("decimal");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("placeholder") << "." << "10,000" << 10.0;
        QTest::newRow("empty") << "." << "" << 0.0;
        QTest::newRow("letters") << "." << "abc" << 0.0;
        QTest::newRow("blanks inside") << "." << " 1 2\t3\n.5" << 123.5;
        QTest::newRow("exponent") << "." << "5.4E-06" << 5.4e-6;
        QTest::newRow("D exponent") << "." << "2D3" << 2000.0;
        QTest::newRow("exponent without digits") << "." << "7e" << 7.0;
        QTest::newRow("negative") << "." << "-48" << -48.0;
        QTest::newRow("word behind") << "." << "9000.88 gal" << 9000.88;
        QTest::newRow("second point stops") << "." << "1.2.3" << 1.2;
        QTest::newRow("lone point") << "." << "." << 0.0;
        QTest::newRow("comma is no point in point notation") << "." << "2438,4" << 2438.0;
        QTest::newRow("user comma") << "," << "2438,4" << 2438.4;
        QTest::newRow("point still counts") << "," << "2438.4" << 2438.4;
        QTest::newRow("one point only") << "," << "1,5.5" << 1.5;
        QTest::newRow("underflow") << "." << "1e-999" << 0.0;
    }
    void lenient_reading_takes_the_leading_number() {
        QFETCH(QString, decimal);
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(readLenient(text.toStdString(), decimal.toStdString()), value);
    }

    void lenient_reading_of_an_overflowing_literal_is_infinite() {
        QVERIFY(std::isinf(readLenient("1e999")));
        QVERIFY(readLenient("-1e999") < 0);
    }

    void patterns_round_halves_away_from_zero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer keeps point") << 100.0 << "##########.##" << "100.";
        QTest::newRow("no leading zero") << 0.5 << "##########.##" << ".5";
        QTest::newRow("zero is the point alone") << 0.0 << "##########.##" << ".";
        QTest::newRow("two decimals") << 10152.3223 << "##########.##" << "10152.32";
        QTest::newRow("trailing zeros dropped") << 12.5 << "##########.##" << "12.5";
        QTest::newRow("more digits than hashes") << 123456789012.0 << "##.##" << "123456789012.";
        QTest::newRow("negative") << -5.256 << "##########.##" << "-5.26";
        QTest::newRow("negative rounding to zero") << -0.001 << "##########.##" << ".";
        QTest::newRow("half up") << 0.125 << "##0.00" << "0.13";
        QTest::newRow("half up again") << 0.375 << "##0.00" << "0.38";
        QTest::newRow("decimal half") << 1.005 << "##0.00" << "1.01";
        QTest::newRow("negative half") << -0.125 << "##0.00" << "-0.13";
        QTest::newRow("carry") << 9.999 << "##0.00" << "10.00";
        QTest::newRow("coefficient") << 0.0007 << "##########.######" << ".0007";
        QTest::newRow("litres coefficient") << 0.0026497882488 << "##########.######" << ".00265";
        QTest::newRow("lengths") << 2438.4 << "#######.#####" << "2438.4";
        QTest::newRow("feet") << 8.0 << "#######.#####" << "8.";
        QTest::newRow("min one decimal") << 3.0 << "##0.0##" << "3.0";
        QTest::newRow("three decimals") << 5.196152422706632 << "##0.0##" << "5.196";
        QTest::newRow("four decimals") << 327.790615 << "###0.0###" << "327.7906";
        QTest::newRow("four decimals up") << 12.616666666 << "###0.0###" << "12.6167";
        QTest::newRow("leak rate") << 1.23456 << "##0.0###" << "1.2346";
        QTest::newRow("quarter") << 0.25 << "##0.0###" << "0.25";
        QTest::newRow("huge") << 1e20 << "##.##" << "100000000000000000000.";
        QTest::newRow("tiny") << 5.4e-6 << "##.#####" << ".00001";
        QTest::newRow("celsius") << 21.111111111 << "##########.##" << "21.11";
        QTest::newRow("back to fahrenheit") << 69.998 << "##########.##" << "70.";
    }
    void patterns_round_halves_away_from_zero() {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatPattern(value, pattern.toStdString())), text);
    }

    void patterns_use_the_users_decimal_separator() {
        QCOMPARE(formatPattern(2438.4, "#######.#####", ","), std::string("2438,4"));
        QCOMPARE(formatPattern(96, "#######.#####", ","), std::string("96,"));
    }

    void patterns_never_show_infinity_or_nan() {
        QCOMPARE(formatPattern(HUGE_VAL, "##.##"), std::string());
        QCOMPARE(formatPattern(std::nan(""), "##.##"), std::string());
    }

    void general_form_has_up_to_15_significant_digits_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("coefficient") << 0.0007 << "0.0007";
        QTest::newRow("per degree C") << 0.0007 / (5.0 / 9.0) << "0.00126";
        QTest::newRow("diesel per degree C") << 0.00047 / (5.0 / 9.0) << "0.000846";
        QTest::newRow("small exponent") << 0.0000054 << "5.4E-06";
        QTest::newRow("big exponent") << 1e15 << "1E+15";
        QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
        QTest::newRow("rounded to fifteen") << 6999.889999999999 << "6999.89";
        QTest::newRow("half") << 12.5 << "12.5";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative") << -21.1 << "-21.1";
        QTest::newRow("integer") << 38.0 << "38";
        QTest::newRow("one ten-thousandth") << 0.0001 << "0.0001";
        QTest::newRow("hundred-thousandth") << 0.00001 << "1E-05";
        QTest::newRow("huge") << 1.5e300 << "1.5E+300";
    }
    void general_form_has_up_to_15_significant_digits() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(formatGeneral(value)), text);
    }

    void general_form_reads_back_leniently() {
        for (double v : {0.0026497882488, 1.0 / 3.0, 5.4e-6, -1.25e200, 12345.678}) {
            const std::string text = formatGeneral(v, ",");
            const double back = readLenient(text, ",");
            QVERIFY2(std::fabs(back - v) <= std::fabs(v) * 1e-14, text.c_str());
        }
    }

    void rounding_halves_to_even_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::newRow("tie down") << 0.125 << 0.12;
        QTest::newRow("tie up") << 0.375 << 0.38;
        QTest::newRow("not a tie") << 78.7149 << 78.71;
        QTest::newRow("decimal tie") << 2.675 << 2.68;
        QTest::newRow("negative tie") << -2.665 << -2.66;
        QTest::newRow("tie to zero") << 0.005 << 0.0;
        QTest::newRow("carry") << 9.995 << 10.0;
    }
    void rounding_halves_to_even() {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QCOMPARE(roundHalfEven(value, 2), rounded);
    }

    void fixed_decimals_pad_on_the_left_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero volume") << 0.0 << 2 << 9 << "     0.00";
        QTest::newRow("level") << 12.0 << 2 << 6 << " 12.00";
        QTest::newRow("eighth") << 0.125 << 2 << 6 << "  0.13";
        QTest::newRow("three eighths") << 0.375 << 2 << 6 << "  0.38";
        QTest::newRow("five eighths") << 0.625 << 2 << 6 << "  0.63";
        QTest::newRow("seven eighths") << 0.875 << 2 << 6 << "  0.88";
        QTest::newRow("too wide is whole") << 1000.0 << 2 << 6 << "1000.00";
        QTest::newRow("millions") << 38430711.76 << 2 << 9 << "38430711.76";
        QTest::newRow("negative") << -96.0 << 2 << 6 << "-96.00";
        QTest::newRow("negative rounding to zero") << -0.004 << 2 << 6 << "  0.00";
        QTest::newRow("wider than any number") << 12345.678 << 2 << 40 << QString(32, ' ') + "12345.68";
        QTest::newRow("float volume") << double(153.14999f) << 2 << 9 << "   153.15";
        QTest::newRow("beyond the fast path") << 1e17 << 2 << 6 << "100000000000000000.00";
        QTest::newRow("eight integer digits") << 99999999.994 << 2 << 9 << "99999999.99";
        QTest::newRow("carry to nine digits") << 99999999.996 << 2 << 9 << "100000000.00";
        QTest::newRow("nine integer digits") << -123456789.125 << 2 << 6 << "-123456789.13";
        QTest::newRow("one digit after seven") << 10000000.0 << 2 << 12 << " 10000000.00";
        QTest::newRow("three decimals") << 0.125 << 3 << 6 << " 0.125";
        QTest::newRow("three, half away from zero") << 0.0625 << 3 << 6 << " 0.063";
        QTest::newRow("four, leading zeros") << -0.00105 << 4 << 0 << "-0.0011";
        QTest::newRow("three, negative to zero") << -0.0004 << 3 << 0 << "0.000";
        QTest::newRow("none") << 2.5 << 0 << 3 << "  3";
        QTest::newRow("nine") << 1.0 / 3 << 9 << 0 << "0.333333333";
        QTest::newRow("beyond the fast path, 3") << 1e17 << 3 << 0 << "100000000000000000.000";
        QTest::newRow("more than fast") << 0.5 << 12 << 0 << "0.500000000000";
        QTest::newRow("shortest digits end on a midpoint") << 0.8341247578762655 << 15 << 0 << "0.834124757876265";
        QTest::newRow("shortest digits carry to 1") << 0.9999999999999997 << 14 << 0 << "1.00000000000000";
        // Their product with 10^12 rounds to a half; the exact one is below, or above, it.
        QTest::newRow("the least the fast path takes") << 1e-8 << 9 << 0 << "0.000000010";
        QTest::newRow("product on a half, exact below") << 313.9301997556105 << 12 << 0 << "313.930199755610";
        QTest::newRow("product on a half, exact above") << 589.2620735410605 << 12 << 0 << "589.262073541061";
    }
    void fixed_decimals_pad_on_the_left() {
        QFETCH(double, value);
        QFETCH(int, width);
        QFETCH(QString, text);
        std::string out;
        QFETCH(int, places);
        appendFixed(out, value, places, static_cast<std::size_t>(width));
        QCOMPARE(QString::fromStdString(out), text);
        if (places == 2) {
            out.clear();
            appendFixed2(out, value, static_cast<std::size_t>(width));
            QCOMPARE(QString::fromStdString(out), text);
        }
    }

    void significant_digits_drop_trailing_zeros_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QString>("text");
        QTest::newRow("single-precision volume") << double(5076.161f) << 7 << "5076.161";
        QTest::newRow("more integer digits") << 38430712.3 << 7 << "38430712";
        QTest::newRow("below 1") << 0.00123456789 << 7 << "0.001234568";
        QTest::newRow("carry to a power of ten") << 9.99999996 << 7 << "10";
        QTest::newRow("half away from zero") << -2.5 << 1 << "-3";
        QTest::newRow("zero") << 0.0 << 7 << "0";
        QTest::newRow("ten digits") << 2380.9565415578136 << 10 << "2380.956542";
        QTest::newRow("ten digits below 1") << 0.123456789012 << 10 << "0.123456789";
        QTest::newRow("tiny") << 1.5e-12 << 7 << "0.0000000000015";
        QTest::newRow("below a billionth, one digit") << 5.4e-10 << 1 << "0.0000000005";
        QTest::newRow("beyond the fast path") << 1e17 << 7 << "100000000000000000";
        QTest::newRow("not a number") << std::nan("") << 7 << "nan";
        QTest::newRow("infinity") << -HUGE_VAL << 10 << "-inf";
    }
    void significant_digits_drop_trailing_zeros() {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(QString, text);
        std::string out;
        appendSignificant(out, value, digits);
        QCOMPARE(QString::fromStdString(out), text);
    }

    // The chart's fast writers against the general pattern rules, over every magnitude they take.
    void fixed_decimals_follow_the_pattern_rules() {
        std::mt19937_64 random(20261207);
        std::uniform_real_distribution<double> exponent(-3, 13);
        for (int i = 0; i < 200000; ++i) {
            const double magnitude = std::pow(10.0, exponent(random));
            // Every third value has three decimals, every fifth is a multiple of 1/8 (an exact
            // binary half-cent when it ends in .125, .375, .625 or .875).
            const double decimals = std::round(magnitude * 1000) / 1000;
            const double eighths = std::ldexp(std::round(magnitude * 8), -3);
            const double value = (i % 7 == 0 ? -1 : 1) *
                                 (i % 3 == 0 ? decimals : i % 5 == 0 ? eighths : magnitude);
            const std::size_t width = std::size_t{i % 4 == 0 ? 0U : i % 4 == 1 ? 6U : 9U};
            std::string out = "|";
            appendFixed2(out, value, width);
            std::string expected = "|";
            const std::string text = formatPattern(value, "0.00");
            expected.append(width > text.size() ? width - text.size() : 0, ' ').append(text);
            const int places = 2 + i % 9;  // 10 takes the exact path
            out += "|";
            appendFixed(out, value, places, width);
            const std::string more = formatPattern(value, "0." + std::string(places, '0'));
            expected += "|";
            expected.append(width > more.size() ? width - more.size() : 0, ' ').append(more);
            if (out != expected) {
                QFAIL(qPrintable(QStringLiteral("%1: \"%2\", not \"%3\"")
                                     .arg(value, 0, 'g', 17)
                                     .arg(QString::fromStdString(out), QString::fromStdString(expected))));
            }
        }
    }
};

QTEST_APPLESS_MAIN(NumberTextTest)
#include "test_numbertext.moc"
