#include "triple.h"

#include <QtTest>
#include <cfenv>
#include <cmath>
#include <limits>

using namespace pythagoras;

Q_DECLARE_METATYPE(TripleMethod)

class TestTriple : public QObject {
    Q_OBJECT

private slots:
    void computesSampleTriples_data();
    void computesSampleTriples();
    void everyStepIsATripleOfItsMethod();
    void advanceStopsAtTheLimit();
    void resetGivesTheFirstTripleFromAnyState_data();
    void resetGivesTheFirstTripleFromAnyState();
    void methodFollowsTheSignOfTheRemainder_data();
    void methodFollowsTheSignOfTheRemainder();
    void conversionRoundsHalvesToEven_data();
    void conversionRoundsHalvesToEven();
    void conversionOutsideInt32Overflows_data();
    void conversionOutsideInt32Overflows();
    void floatingPointStatusIsTested_data();
    void floatingPointStatusIsTested();
    void computeOverflowKeepsEarlierMembers();
};

void TestTriple::computesSampleTriples_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<TripleMethod>("method");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addRow("3 odd") << 3 << TripleMethod::Pythagoras << 4 << 5;
    QTest::addRow("4 even, b below a") << 4 << TripleMethod::Plato << 3 << 5;
    QTest::addRow("5") << 5 << TripleMethod::Pythagoras << 12 << 13;
    QTest::addRow("6 not reduced") << 6 << TripleMethod::Plato << 8 << 10;
    QTest::addRow("7") << 7 << TripleMethod::Pythagoras << 24 << 25;
    QTest::addRow("8") << 8 << TripleMethod::Plato << 15 << 17;
    QTest::addRow("9") << 9 << TripleMethod::Pythagoras << 40 << 41;
    QTest::addRow("10") << 10 << TripleMethod::Plato << 24 << 26;
    QTest::addRow("998") << 998 << TripleMethod::Plato << 249000 << 249002;
    QTest::addRow("999 largest c") << 999 << TripleMethod::Pythagoras << 499000 << 499001;
    QTest::addRow("1000 limit") << 1000 << TripleMethod::Plato << 249999 << 250001;
}

void TestTriple::computesSampleTriples()
{
    QFETCH(int, a);
    QFETCH(TripleMethod, method);
    QFETCH(int, b);
    QFETCH(int, c);
    TripleState state{a, -1, -1};
    QCOMPARE(MethodOf(a), method);
    ComputeTriple(state);
    QCOMPARE(state.a, a);
    QCOMPARE(state.b, b);
    QCOMPARE(state.c, c);
}

void TestTriple::everyStepIsATripleOfItsMethod()
{
    TripleState state;
    ResetTriple(state);
    QCOMPARE(state.a, StartA);
    int steps = 0;
    while (AdvanceTriple(state)) {
        ++steps;
        ComputeTriple(state);
        const std::int64_t a = state.a;
        const std::int64_t b = state.b;
        const std::int64_t c = state.c;
        QVERIFY2(a * a + b * b == c * c, qPrintable(QString::number(a)));
        if (a % 2 == 0) {
            QCOMPARE(MethodOf(state.a), TripleMethod::Plato);
            QCOMPARE(b, (a / 2) * (a / 2) - 1);
            QCOMPARE(c, (a / 2) * (a / 2) + 1);
        } else {
            QCOMPARE(MethodOf(state.a), TripleMethod::Pythagoras);
            QCOMPARE(b, (a * a - 1) / 2);
            QCOMPARE(c, (a * a + 1) / 2);
        }
    }
    QCOMPARE(steps, LimitA - StartA);
    QCOMPARE(state.a, LimitA);
}

void TestTriple::advanceStopsAtTheLimit()
{
    TripleState state{999, 499000, 499001};
    QVERIFY(AdvanceTriple(state));
    QCOMPARE(state.a, 1000);
    ComputeTriple(state);

    const TripleState atLimit = state;
    QVERIFY(!AdvanceTriple(state));
    QCOMPARE(state.a, atLimit.a);
    QCOMPARE(state.b, atLimit.b);
    QCOMPARE(state.c, atLimit.c);
    ComputeTriple(state);
    QCOMPARE(state.b, 249999);
    QCOMPARE(state.c, 250001);

    TripleState far{std::numeric_limits<std::int32_t>::max(), 1, 2};
    QVERIFY(!AdvanceTriple(far)); // the limit test comes before the overflow-checked step
    QCOMPARE(far.a, std::numeric_limits<std::int32_t>::max());
}

void TestTriple::resetGivesTheFirstTripleFromAnyState_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addRow("fresh zeros") << 0 << 0 << 0;
    QTest::addRow("at the limit") << 1000 << 249999 << 250001;
    QTest::addRow("even a") << 4 << 3 << 5;
    QTest::addRow("already first") << 3 << 4 << 5;
    QTest::addRow("negative") << -7 << -1 << -1;
}

void TestTriple::resetGivesTheFirstTripleFromAnyState()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    TripleState state{a, b, c};
    ResetTriple(state);
    QCOMPARE(state.a, 3);
    QCOMPARE(state.b, 4);
    QCOMPARE(state.c, 5);
}

void TestTriple::methodFollowsTheSignOfTheRemainder_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<TripleMethod>("method");
    QTest::addRow("0") << 0 << TripleMethod::Plato;
    QTest::addRow("-1 remainder -1") << -1 << TripleMethod::Pythagoras;
    QTest::addRow("-2") << -2 << TripleMethod::Plato;
    QTest::addRow("int min") << std::numeric_limits<int>::min() << TripleMethod::Plato;
    QTest::addRow("int max") << std::numeric_limits<int>::max() << TripleMethod::Pythagoras;
}

void TestTriple::methodFollowsTheSignOfTheRemainder()
{
    QFETCH(int, a);
    QFETCH(TripleMethod, method);
    QCOMPARE(MethodOf(a), method);
}

void TestTriple::conversionRoundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::addRow("2.5 to 2") << 2.5 << 2;
    QTest::addRow("3.5 to 4") << 3.5 << 4;
    QTest::addRow("-2.5 to -2") << -2.5 << -2;
    QTest::addRow("0.5 to 0") << 0.5 << 0;
    QTest::addRow("2.4999 down") << 2.4999 << 2;
    QTest::addRow("2.5001 up") << 2.5001 << 3;
    QTest::addRow("largest") << 2147483647.0 << std::numeric_limits<int>::max();
    QTest::addRow("just under half past largest") << 2147483647.49 << std::numeric_limits<int>::max();
    QTest::addRow("smallest") << -2147483648.0 << std::numeric_limits<int>::min();
    QTest::addRow("half below smallest to even") << -2147483648.5 << std::numeric_limits<int>::min();
}

void TestTriple::conversionRoundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(ToInt32(value), expected);
}

void TestTriple::conversionOutsideInt32Overflows_data()
{
    QTest::addColumn<double>("value");
    QTest::addRow("half past largest rounds to even, out") << 2147483647.5;
    QTest::addRow("2^31") << 2147483648.0;
    QTest::addRow("below smallest") << -2147483649.0;
    QTest::addRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::addRow("NaN") << std::numeric_limits<double>::quiet_NaN();
}

void TestTriple::conversionOutsideInt32Overflows()
{
    QFETCH(double, value);
    QVERIFY_THROWS_EXCEPTION(OverflowError, ToInt32(value));
}

namespace {
double Square(double x)
{
    return x * x;
}
double Inverse(double x)
{
    return 1.0 / x;
}
double ZeroOverSelf(double x)
{
    return (x - x) / (x - x);
}
double Third(double x)
{
    return x / 3.0;
}
double SquareRoot(double x)
{
    return std::sqrt(x);
}
} // namespace

void TestTriple::floatingPointStatusIsTested_data()
{
    QTest::addColumn<double>("operand");
    QTest::addColumn<void*>("compute");
    QTest::addColumn<bool>("raises");
    const auto fn = [](double (*f)(double)) { return reinterpret_cast<void*>(f); };
    QTest::addRow("overflow") << 1e300 << fn(Square) << true;
    QTest::addRow("division by zero") << 0.0 << fn(Inverse) << true;
    QTest::addRow("invalid 0/0") << 5.0 << fn(ZeroOverSelf) << true;
    QTest::addRow("invalid sqrt of negative") << -1.0 << fn(SquareRoot) << true;
    QTest::addRow("inexact is fine") << 1.0 << fn(Third) << false;
    QTest::addRow("underflow is fine") << 1e-200 << fn(Square) << false;
    QTest::addRow("denormal operand is fine") << 4e-320 << fn(Third) << false;
}

void TestTriple::floatingPointStatusIsTested()
{
    QFETCH(double, operand);
    QFETCH(void*, compute);
    QFETCH(bool, raises);
    const auto f = reinterpret_cast<double (*)(double)>(compute);
    if (raises) {
        QVERIFY_THROWS_EXCEPTION(FloatingPointError, CheckedStep(operand, f));
    } else {
        QCOMPARE(CheckedStep(operand, f), f(operand));
    }
    // A flag left over from earlier work is not blamed on the next computation.
    std::feraiseexcept(FE_OVERFLOW);
    QCOMPARE(CheckedStep(2.0, Square), 4.0);
}

void TestTriple::computeOverflowKeepsEarlierMembers()
{
    // b = (99999^2 - 1) / 2 is beyond int32: the conversion raises and nothing is stored.
    TripleState state{99999, 7, 9};
    QVERIFY_THROWS_EXCEPTION(OverflowError, ComputeTriple(state));
    QCOMPARE(state.a, 99999);
    QCOMPARE(state.b, 7);
    QCOMPARE(state.c, 9);
}

QTEST_APPLESS_MAIN(TestTriple)
#include "tst_triple.moc"
