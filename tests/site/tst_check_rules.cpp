// The rules of the checks and the limits a site can set for them.

#include "site/rule_limits.h"

#include <QRegularExpression>
#include <QTest>

using namespace quill;
using namespace Qt::Literals::StringLiterals;

using Limits = QList<std::pair<CheckRule, double>>;
Q_DECLARE_METATYPE(Limits)

class TestCheckRules : public QObject
{
    Q_OBJECT

private slots:
    void rulesByIdOnce();
    void defaultLimits_data();
    void defaultLimits();
    void readLimits_data();
    void readLimits();
};

// The ids are what findings, --limits and SARIF name a rule by; the reasons stand on one
// line of the help.
void TestCheckRules::rulesByIdOnce()
{
    const QRegularExpression idForm(u"^[a-z0-9]+(-[a-z0-9]+)*$"_s);
    for (const RuleDef &def : checkRules()) {
        const QString id = QLatin1StringView(def.id);
        QVERIFY2(idForm.match(id).hasMatch(), def.id);
        QCOMPARE(findCheckRule(id), &def);
        QVERIFY2(!QByteArrayView(def.reason).isEmpty() &&
                     !QByteArrayView(def.reason).contains('\n'),
                 def.id);
        QCOMPARE(def.pixelSize > 0, def.unit == LimitUnit::Pixels);
    }
    QCOMPARE(findCheckRule(u"Title-Missing"_s), nullptr);
}

void TestCheckRules::defaultLimits_data()
{
    QTest::addColumn<CheckRule>("rule");
    QTest::addColumn<LimitUnit>("unit");
    QTest::addColumn<double>("limit");
    QTest::addColumn<double>("pixelSize");

    QTest::newRow("title-too-long")
        << CheckRule::TitleTooLong << LimitUnit::Pixels << 600.0 << 20.0;
    QTest::newRow("description-too-long")
        << CheckRule::DescriptionTooLong << LimitUnit::Pixels << 920.0 << 14.0;
    QTest::newRow("title-too-short")
        << CheckRule::TitleTooShort << LimitUnit::Pixels << 200.0 << 20.0;
    QTest::newRow("description-too-short")
        << CheckRule::DescriptionTooShort << LimitUnit::Characters << 70.0 << 0.0;
}

void TestCheckRules::defaultLimits()
{
    QFETCH(CheckRule, rule);
    QFETCH(LimitUnit, unit);
    QFETCH(double, limit);
    QFETCH(double, pixelSize);
    const RuleDef &def = checkRule(rule);
    QCOMPARE(def.unit, unit);
    QCOMPARE(def.pixelSize, pixelSize);
    QCOMPARE(RuleLimits().limit(rule), limit);
}

void TestCheckRules::readLimits_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<Limits>("changed"); // the limits that differ from the defaults after
    QTest::addColumn<QString>("error");  // the message, or its start where it lists rules

    QTest::newRow("two limits")
        << "\xEF\xBB\xBF{\"title-too-long\": 580.5, \"description-too-short\": 5e1}\n"_ba
        << Limits{{CheckRule::TitleTooLong, 580.5}, {CheckRule::DescriptionTooShort, 50}}
        << QString();
    QTest::newRow("none") << "{ }"_ba << Limits{} << QString();
    QTest::newRow("grammar") << "{\n  \"title-too-long\": 580,\n}"_ba << Limits{}
                             << u"site.json:3:1: "_s;
    QTest::newRow("not UTF-8") << "{\"title-too-long\xFF\": 1}"_ba << Limits{} << u"site.json:1:"_s;
    QTest::newRow("not an object") << "[600]"_ba << Limits{}
                                   << u"site.json: the limits are one JSON object with a rule "
                                      "id a key"_s;
    QTest::newRow("unknown rule, after a good one")
        << "{\"title-too-long\": 1, \"title-too-wide\": 580}"_ba << Limits{}
        << u"site.json: unknown rule \"title-too-wide\" (the rules with a limit are "_s;
    QTest::newRow("a rule without a limit")
        << "{\"title-missing\": 1}"_ba << Limits{}
        << u"site.json: \"title-missing\" has no limit (the rules with a limit are "_s;
    QTest::newRow("twice") << "{\"title-too-long\": 1, \"title-too-long\": 2}"_ba << Limits{}
                           << u"site.json: \"title-too-long\" given twice"_s;
    QTest::newRow("a string") << "{\"title-too-long\": \"580px\"}"_ba << Limits{}
                              << u"site.json: \"title-too-long\" takes a number, not a string"_s;
    QTest::newRow("below 0") << "{\"title-too-short\": -1}"_ba << Limits{}
                             << u"site.json: \"title-too-short\" takes a number not below 0"_s;
    QTest::newRow("part of a character")
        << "{\"description-too-short\": 69.5}"_ba << Limits{}
        << u"site.json: \"description-too-short\" takes a whole number of characters"_s;
}

void TestCheckRules::readLimits()
{
    QFETCH(QByteArray, json);
    QFETCH(Limits, changed);
    QFETCH(QString, error);
    RuleLimits limits;
    QString message;
    QCOMPARE(limits.read(json, u"site.json"_s, &message), error.isEmpty());
    QVERIFY2(message.startsWith(error), qPrintable(message));
    for (const RuleDef &def : checkRules()) {
        double expected = def.limit;
        for (const auto &[rule, limit] : std::as_const(changed)) {
            if (rule == def.rule)
                expected = limit;
        }
        QCOMPARE(limits.limit(def.rule), expected);
    }
}

QTEST_GUILESS_MAIN(TestCheckRules)
#include "tst_check_rules.moc"
