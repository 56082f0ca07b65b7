#include "config/config_file.h"
#include "config/text_codec.h"
#include "store_samples.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

#include <initializer_list>

using namespace vandorelle;
using vandorelle::testing::randomStore;
using vandorelle::testing::storeAtRangeEnds;
using vandorelle::testing::storeDifferences;

namespace {

QByteArray crlfFile(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

// The section beginning with header, up to and including its closing empty line.
QByteArray sectionOf(const QByteArray &file, const QByteArray &header)
{
    const qsizetype at = file.indexOf(header + "\r\n");
    if (at < 0)
        return {};
    const qsizetype end = file.indexOf("\r\n\r\n", at);
    return file.mid(at, end + 4 - at);
}

ConfigStore pendingCleared()
{
    ConfigStore s;
    s.clearAllPending();
    return s;
}

// A whole file of the start values whose section under header holds the given lines instead.
QByteArray startFileWith(const QByteArray &header, std::initializer_list<const char *> lines,
                         QByteArray file = writeConfigFile(ConfigStore{}))
{
    const QByteArray section = sectionOf(file, header);
    EXPECT_FALSE(section.isEmpty()) << header.constData();
    return file.replace(section, crlfFile({header.constData()}) + crlfFile(lines) + "\r\n");
}

struct Load {
    LoadResult result;
    ConfigStore store;
};

// Loads into a store that is neither at its start values nor pending, so that a refused
// load that changed anything shows.
Load loadOver(const QByteArray &file)
{
    Load l{{}, randomStore(99)};
    l.store.clearAllPending();
    l.result = readConfigFile(file, l.store);
    return l;
}

void expectRefusedUnchanged(const Load &l, LoadResult::Status status, const QString &message)
{
    ConfigStore before = randomStore(99);
    before.clearAllPending();
    EXPECT_FALSE(l.result.ok);
    EXPECT_EQ(l.result.status, status);
    EXPECT_EQ(l.result.message, message);
    EXPECT_EQ(storeDifferences(l.store, before).toStdString(), "");
    EXPECT_TRUE(l.store.nonePending());
}

} // namespace

TEST(ConfigFileWriter, BeginsExactlyWithNamesAndTheFirstScheduleEntry)
{
    const QByteArray file = writeConfigFile(ConfigStore{});
    QByteArray expected = "[Motor-Namen_]\r\n";
    for (int m = 1; m <= 32; ++m)
        expected += QStringLiteral("Motor%1=Motor %2\r\n").arg(m, 2, 10, QLatin1Char('0')).arg(m).toLatin1();
    expected += "\r\n"
                "[Schaltzeit_Mo_Motor01_Nr1]\r\n"
                "Richtung=Auf\r\n"
                "Stunde=--\r\n"
                "Minute=--\r\n"
                "Dauer=40\r\n"
                "Gruppe=1\r\n"
                "Funktion=Normal\r\n"
                "\r\n"
                "[Schaltzeit_Mo_Motor01_Nr2]\r\n";
    EXPECT_EQ(file.left(expected.size()), expected);
}

TEST(ConfigFileWriter, NamesAreWindows1252AndCannotSplitALine)
{
    ConfigStore s;
    s.MotorNamen[1] = QStringLiteral("Bäd=€");
    s.MotorNamen[2] = QStringLiteral("a\r\nb");
    const QByteArray file = writeConfigFile(s);
    EXPECT_TRUE(file.contains("\r\nMotor02=B\xE4" "d=\x80\r\nMotor03=a  b\r\nMotor04="));
}

TEST(ConfigFileWriter, SectionsAppearInTheirOrder)
{
    QList<QByteArray> names;
    int sections = 0;
    for (const QByteArray &line : splitLines(writeConfigFile(ConfigStore{}))) {
        if (!line.startsWith('['))
            continue;
        ++sections;
        const QByteArray name = line.mid(1, line.indexOf('_') - 1);
        if (names.isEmpty() || names.last() != name)
            names << name;
    }
    const QList<QByteArray> expected = {
        "Motor-Namen", "Schaltzeit", "Beschattung", "DaemmerungMorgen", "DaemmerungAbend", "Wind",
        "Regen", "Reversierung", "ProportionaleTemperatursteuerung", "InnenTemperatursteuerung",
        "HeizungsSteuerung", "FeuchtigkeitsSteuerung", "AussenTemperatursteuerung", "AlarmPattern",
        "Parameter", "Gruppen-Zentralsteuerung", "Soft-GZS", "TastAutomatik"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(sections, 1 + 1792 + 11 * 32 + 4 + 32);
}

TEST(ConfigFileWriter, ScheduleSectionsRunWeekdayMotorEntry)
{
    ConfigStore s;
    s.entry(2, 3, 4).Zeit = timeCode(7, 5);
    const QByteArray file = writeConfigFile(s);
    const qsizetype nr8 = file.indexOf("[Schaltzeit_Mo_Motor32_Nr8]");
    EXPECT_LT(file.indexOf("[Schaltzeit_Mo_Motor01_Nr8]"), file.indexOf("[Schaltzeit_Mo_Motor02_Nr1]"));
    EXPECT_LT(nr8, file.indexOf("[Schaltzeit_Di_Motor01_Nr1]"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Di_Motor03_Nr4]").contains("Stunde=7\r\nMinute=5\r\n"));
}

TEST(ConfigFileWriter, FunctionSectionsUseTheirKeysAndFileValues)
{
    ConfigStore s;
    s.InnenTemperatursteuerung[0].Gr_Kl = 1;
    s.HeizungsSteuerung[4].Betriebsart = 1;
    s.HeizungsSteuerung[4].TagNacht = 1;
    s.AussenTemperatursteuerung[31].Richtung = 2;
    s.Wind[0].Geschwindigkeit = 18;
    s.GruppenZentralsteuerung[1][2] = 129; // bank 2, group 3
    s.SoftGZS = true;
    const QByteArray file = writeConfigFile(s);

    EXPECT_EQ(sectionOf(file, "[Beschattung_Motor01]"),
              crlfFile({"[Beschattung_Motor01]", "EinAus=Aus", "Temperatur=22", "Von=10", "Bis=20",
                        "Helligkeit=244", "Dauer=10", ""}));
    EXPECT_EQ(sectionOf(file, "[DaemmerungAbend_Motor01]"),
              crlfFile({"[DaemmerungAbend_Motor01]", "EinAus=Aus", "Von=19", "Helligkeit=110", "Dauer=40", ""}));
    EXPECT_EQ(sectionOf(file, "[Wind_Motor01]"), crlfFile({"[Wind_Motor01]", "EinAus=Aus", "Geschwindigkeit=95", ""}));
    EXPECT_EQ(sectionOf(file, "[ProportionaleTemperatursteuerung_Motor01]"),
              crlfFile({"[ProportionaleTemperatursteuerung_Motor01]", "EinAus=Aus", "Von=10", "Bis=22",
                        "SollTemperatur=23", "Richtung=Auf", "Regelbereich=3", "MaxStellzeit=40", "Schritte=6", ""}));
    EXPECT_EQ(sectionOf(file, "[InnenTemperatursteuerung_Motor01]"),
              crlfFile({"[InnenTemperatursteuerung_Motor01]", "EinAus=Aus", "Gr_KL=Kl", "Schwelle1=22",
                        "Richtung=Auf", "Schwelle2=20", "Dauer=40", "Von=8", "Bis=21", ""}));
    EXPECT_EQ(sectionOf(file, "[HeizungsSteuerung_Motor05]"),
              crlfFile({"[HeizungsSteuerung_Motor05]", "EinAus=Aus", "TagNacht=Nacht", "Betriebsart=Kuehlen",
                        "TagTemperatur=210", "NachtTemperatur=180", ""}));
    EXPECT_EQ(sectionOf(file, "[FeuchtigkeitsSteuerung_Motor01]"),
              crlfFile({"[FeuchtigkeitsSteuerung_Motor01]", "EinAus=Aus", "Gr_KL=Gr", "Schwelle1=76",
                        "Schwelle2=66", "Dauer=40", "Von=8", "Bis=21", ""}));
    EXPECT_EQ(sectionOf(file, "[AussenTemperatursteuerung_Motor32]"),
              crlfFile({"[AussenTemperatursteuerung_Motor32]", "EinAus=Aus", "Schwelle1=2", "Richtung=Deaktiv",
                        "Schwelle2=5", "Dauer=40", ""}));
    EXPECT_EQ(sectionOf(file, "[Parameter_]"),
              crlfFile({"[Parameter_]", "Zufalls-Zeitspanne=30", "Beschattungs-Hysterese=10", "Offset_AT=0",
                        "Offset_IT=0", "Heizungs-Hysterese=3", ""}));
    const QByteArray groups = sectionOf(file, "[Gruppen-Zentralsteuerung_]");
    EXPECT_TRUE(groups.startsWith("[Gruppen-Zentralsteuerung_]\r\nGruppe_1_Bank_1=0\r\nGruppe_1_Bank_2=0\r\n"));
    EXPECT_TRUE(groups.contains("\r\nGruppe_3_Bank_2=129\r\n"));
    EXPECT_TRUE(groups.endsWith("Gruppe_4_Bank_4=0\r\n\r\n"));
    EXPECT_EQ(sectionOf(file, "[Soft-GZS_]"), crlfFile({"[Soft-GZS_]", "EinAus=Ein", ""}));
    EXPECT_TRUE(file.endsWith(crlfFile({"[TastAutomatik_Motor32]", "EinAus=Aus", "Dauer=21", ""})));
}

TEST(ConfigFileWriter, ScheduleRunTimeAboveOneHundredSeconds)
{
    ConfigStore s;
    s.entry(1, 1, 1).Dauer = 99;
    s.entry(1, 1, 2).Dauer = 100;
    s.entry(1, 1, 3).Dauer = 129;
    s.entry(1, 1, 4).Dauer = 130; // outside the list: written as code 43
    const QByteArray file = writeConfigFile(s);
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr1]").contains("\r\nDauer=100\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr2]").contains("\r\nDauer=110\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr3]").contains("\r\nDauer=400\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr4]").contains("\r\nDauer=44\r\n"));
}

TEST(ConfigFileRoundTrip, StartUpStoreComesBackUnchanged)
{
    const ConfigStore original;
    ConfigStore loaded = randomStore(7);
    const LoadResult r = readConfigFile(writeConfigFile(original), loaded);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(storeDifferences(loaded, original).toStdString(), "");
}

TEST(ConfigFileRoundTrip, EveryFieldOfRandomStoresComesBack)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        ConfigStore original = randomStore(seed);
        ConfigStore loaded = pendingCleared();
        const LoadResult r = readConfigFile(writeConfigFile(original), loaded);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        original.markAllPending(); // a load marks everything for the next send
        ASSERT_EQ(storeDifferences(loaded, original).toStdString(), "") << "seed " << seed;
    }
}

TEST(ConfigFileRoundTrip, StoresAtBothEndsOfEveryRangeComeBack)
{
    for (const bool last : {false, true}) {
        ConfigStore original = storeAtRangeEnds(last);
        ConfigStore loaded = pendingCleared();
        const LoadResult r = readConfigFile(writeConfigFile(original), loaded);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        original.markAllPending();
        EXPECT_EQ(storeDifferences(loaded, original).toStdString(), "") << (last ? "last" : "first");
    }
}

TEST(ConfigFileRoundTrip, LfLineEndsReadLikeCrLf)
{
    ConfigStore original = randomStore(42);
    QByteArray file = writeConfigFile(original);
    file.replace("\r\n", "\n");
    ConfigStore loaded;
    ASSERT_TRUE(readConfigFile(file, loaded).ok);
    original.markAllPending();
    EXPECT_EQ(storeDifferences(loaded, original).toStdString(), "");
}

TEST(ConfigFileReader, ScheduleTimesAndRunTimes)
{
    QByteArray file = startFileWith("[Schaltzeit_Mi_Motor02_Nr1]",
                                    {"Richtung=Ab", "Stunde=--", "Minute=--", "Dauer=105", "Gruppe=5", "Funktion=Astro"});
    file = startFileWith("[Schaltzeit_So_Motor32_Nr8]",
                         {"Richtung=Auf", "Stunde=23", "Minute=59", "Dauer=110", "Gruppe=7", "Funktion=Normal"}, file);
    file = startFileWith("[Schaltzeit_Mo_Motor01_Nr1]",
                         {"Richtung=Ab", "Stunde=0", "Minute=0", "Dauer=409", "Gruppe=2", "Funktion=Zufall"}, file);
    // A controller reports an unused entry with hour 24 and some minute.
    file = startFileWith("[Schaltzeit_Di_Motor01_Nr1]",
                         {"Richtung=Auf", "Stunde=24", "Minute=30", "Dauer=1", "Gruppe=1", "Funktion=Normal"}, file);
    ConfigStore s;
    s.entry(3, 2, 1).Zeit = 500;
    const LoadResult r = readConfigFile(file, s);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const SchaltzeitEntry &a = s.entry(3, 2, 1);
    EXPECT_EQ(a.Zeit, 0);
    EXPECT_EQ(a.Richtung, 1);
    EXPECT_EQ(a.Dauer, 99);
    EXPECT_EQ(a.Gruppe, 5);
    EXPECT_EQ(a.Funktion, 1);
    EXPECT_EQ(s.entry(7, 32, 8).Zeit, 1440);
    EXPECT_EQ(s.entry(7, 32, 8).Dauer, 100);
    EXPECT_EQ(s.entry(1, 1, 1).Zeit, 1);
    EXPECT_EQ(s.entry(1, 1, 1).Dauer, 129);
    EXPECT_EQ(s.entry(1, 1, 1).Funktion, 2);
    EXPECT_EQ(s.entry(2, 1, 1).Zeit, 0);
    EXPECT_EQ(s.entry(2, 1, 1).Dauer, 0);
}

TEST(ConfigFileReader, NamesKeepEverythingAfterTheFirstEquals)
{
    QList<const char *> names;
    QList<QByteArray> keep;
    for (int m = 1; m <= 32; ++m) {
        const char *custom = m == 7 ? "Motor07=a=b=" : m == 32 ? "Motor32=K\xFC" "che \x80" : m == 8 ? "Motor08=" : nullptr;
        keep << (custom ? QByteArray(custom) : QStringLiteral("Motor%1=Motor %2").arg(m, 2, 10, QLatin1Char('0')).arg(m).toLatin1());
    }
    QByteArray body;
    for (const QByteArray &l : keep)
        body += l + "\r\n";
    QByteArray file = writeConfigFile(ConfigStore{});
    file.replace(sectionOf(file, "[Motor-Namen_]"), "[Motor-Namen_]\r\n" + body + "\r\n");
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(file, s).ok);
    EXPECT_EQ(s.MotorNamen[6], QStringLiteral("a=b="));
    EXPECT_EQ(s.MotorNamen[31], QStringLiteral("Küche €"));
    EXPECT_EQ(s.MotorNamen[7], QString());
    EXPECT_EQ(s.MotorNamen[0], QStringLiteral("Motor 1"));
}

// A file that holds only some sections used to fill them in and leave the rest at whatever the
// store held, all marked for sending: a send then overwrote the controller with defaults.
TEST(ConfigFileReader, PartialFileIsRefusedAndChangesNothing)
{
    const Load partial = loadOver(crlfFile({
        "[Wind_Motor03]", "EinAus=Ein", "Geschwindigkeit=50", "",
        "[Parameter_]", "Offset_AT=-5", "Heizungs-Hysterese=9", "Unbekannt=3", "",
        "[AlarmPattern_]", "Motor05=2", "",
    }));
    expectRefusedUnchanged(partial, LoadResult::Status::Incomplete,
                           QStringLiteral("Die Datei ist unvollständig: Eintrag Zufalls-Zeitspanne im Abschnitt "
                                          "[Parameter_] fehlt (Zeile 5)."));

    QByteArray namesOnly = writeConfigFile(ConfigStore{});
    namesOnly.truncate(namesOnly.indexOf("[Schaltzeit_"));
    expectRefusedUnchanged(loadOver(namesOnly), LoadResult::Status::Incomplete,
                           QStringLiteral("Die Datei ist unvollständig: Abschnitt [Schaltzeit_Mo_Motor01_Nr1] fehlt "
                                          "(Zeile 35)."));
}

TEST(ConfigFileReader, TextValuesAreComparedCaseSensitivelyOverTheirLength)
{
    QByteArray file = startFileWith("[Schaltzeit_Mo_Motor01_Nr1]", {"Richtung=Auf", "Stunde=1", "Minute=2", "Dauer=40",
                                                                    "Gruppe=1", "Funktion=Zufallsbetrieb"});
    file = startFileWith("[Regen_Motor02]", {"EinAus=Ein", "Richtung=Abwärts"}, file);
    file = startFileWith("[AussenTemperatursteuerung_Motor01]",
                         {"EinAus=Aus", "Schwelle1=0", "Richtung=Deaktiviert", "Schwelle2=0", "Dauer=1"}, file);
    file = startFileWith("[Soft-GZS_]", {"EinAus=Ein"}, file);
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(file, s).ok);
    EXPECT_EQ(s.entry(1, 1, 1).Funktion, 2);
    EXPECT_EQ(s.Regen[1].EinAus, 0);
    EXPECT_EQ(s.Regen[1].Richtung, 1);
    EXPECT_EQ(s.AussenTemperatursteuerung[0].Richtung, 2);
    EXPECT_TRUE(s.SoftGZS);

    ASSERT_TRUE(readConfigFile(startFileWith("[Soft-GZS_]", {"EinAus=Aus"}), s).ok);
    EXPECT_FALSE(s.SoftGZS);

    // A text that matches no choice is no value: it used to leave the previous section's in place.
    const QByteArray lower = startFileWith("[Regen_Motor02]", {"EinAus=ein", "Richtung=Ab"});
    expectRefusedUnchanged(loadOver(lower), LoadResult::Status::OutOfRange,
                           QStringLiteral("Wert 'ein' außerhalb des gültigen Bereichs (Zeile %1)")
                               .arg(splitLines(lower).indexOf("[Regen_Motor02]") + 2));
}

// A missing key used to take the value read last in another section, or keep the store's.
TEST(ConfigFileReader, ASectionWithoutOneOfItsKeysIsRefused)
{
    const QByteArray file = startFileWith("[Beschattung_Motor02]",
                                          {"EinAus=Aus", "Temperatur=0", "Von=6", "Bis=7", "Dauer=6"});
    const int header = int(splitLines(file).indexOf("[Beschattung_Motor02]")) + 1;
    expectRefusedUnchanged(loadOver(file), LoadResult::Status::Incomplete,
                           QStringLiteral("Die Datei ist unvollständig: Eintrag Helligkeit im Abschnitt "
                                          "[Beschattung_Motor02] fehlt (Zeile %1).").arg(header));

    QByteArray groups = writeConfigFile(ConfigStore{});
    groups.replace("Gruppe_3_Bank_4=0\r\n", "");
    EXPECT_TRUE(loadOver(groups).result.message.contains(QStringLiteral("Eintrag Gruppe_3_Bank_4 im Abschnitt [Gruppen-Zentralsteuerung_] fehlt")));
}

TEST(ConfigFileReader, KeysMayComeInAnyOrderWithinTheirSection)
{
    QByteArray file = startFileWith("[HeizungsSteuerung_Motor02]", {"NachtTemperatur=60", "EinAus=Ein", "TagNacht=Nacht",
                                                                    "Betriebsart=Kuehlen", "TagTemperatur=100"});
    file = startFileWith("[InnenTemperatursteuerung_Motor02]", {"Gr_KL=Kl", "Bis=3", "Schwelle1=50", "EinAus=Ein", "Richtung=Ab",
                                                                 "Schwelle2=-9", "Dauer=191", "Von=0"}, file);
    file = startFileWith("[FeuchtigkeitsSteuerung_Motor02]", {"Bis=23", "EinAus=Ein", "Gr_KL=Gr", "Schwelle1=99",
                                                               "Schwelle2=1", "Dauer=191", "Von=0"}, file);
    file = startFileWith("[ProportionaleTemperatursteuerung_Motor02]",
                         {"Schritte=9", "EinAus=Ein", "Von=1", "Bis=2", "SollTemperatur=50", "Richtung=Ab",
                          "Regelbereich=9", "MaxStellzeit=190"}, file);
    file = startFileWith("[Reversierung_Motor02]", {"Bei_Ab=0", "Bei_Auf=40", "EinAus=Ein"}, file);
    file = startFileWith("[DaemmerungMorgen_Motor02]", {"Dauer=191", "EinAus=Ein", "Von=11", "Helligkeit=250"}, file);
    file = startFileWith("[TastAutomatik_Motor02]", {"Dauer=0", "EinAus=Ein"}, file);
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(file, s).ok);
    EXPECT_EQ(s.HeizungsSteuerung[1], (HeizungsRecord{0, 1, 1, 60, 20, 1}));
    EXPECT_EQ(s.InnenTemperatursteuerung[1], (InnenTemperaturRecord{0, 1, 59, 1, 0, 190, 0, 3, 1}));
    EXPECT_EQ(s.FeuchtigkeitsSteuerung[1], (FeuchtigkeitsRecord{0, 0, 98, 0, 190, 0, 23, 1}));
    EXPECT_EQ(s.ProportionaleTemperatursteuerung[1], (ProportionaleTemperaturRecord{0, 1, 2, 49, 1, 8, 189, 7, 1}));
    EXPECT_EQ(s.Reversierung[1], (ReversierungRecord{0, 40, 0, 1}));
    EXPECT_EQ(s.DaemmerungMorgen[1], (DaemmerungRecord{0, 8, 249, 190, 1}));
    EXPECT_EQ(s.TastAutomatik[1], (TastAutomatikRecord{0, 0, 1}));
    // Their neighbours keep what the file says for them.
    EXPECT_EQ(s.HeizungsSteuerung[0], HeizungsRecord{});
    EXPECT_EQ(s.InnenTemperatursteuerung[2], InnenTemperaturRecord{});
}

TEST(ConfigFileReader, SectionsForPlacesTheStoreDoesNotHaveAreSkipped)
{
    const ConfigStore original = randomStore(4);
    QByteArray file = writeConfigFile(original);
    file.replace("[Motor-Namen_]\r\n", "[Motor-Namen_]\r\nMotor33=x\r\nMotor00=y\r\n");
    file.replace("[AlarmPattern_]\r\n", "[AlarmPattern_]\r\nMotor99=0\r\n");
    file.replace("[Gruppen-Zentralsteuerung_]\r\n",
                 "[Gruppen-Zentralsteuerung_]\r\nGruppe_5_Bank_1=3\r\nGruppe_1_Bank_0=3\r\nGruppe_1=3\r\n");
    file += crlfFile({
        "[Schaltzeit_Xx_Motor01_Nr1]", "Stunde=5", "Minute=0", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor33_Nr1]", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor01_Nr9]", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor00_Nr0]", "Funktion=Astro", "",
        "[Beschattung_Motor33]", "Dauer=3", "",
        "[Unbekannt_Motor01]", "EinAus=Ein", "Dauer=1", "",
    });
    ConfigStore s;
    const LoadResult r = readConfigFile(file, s);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    ConfigStore expected = original;
    expected.markAllPending();
    EXPECT_EQ(storeDifferences(s, expected).toStdString(), "");
}

TEST(ConfigFileReader, ANumberThatIsNotAnIntegerStopsTheLoad)
{
    const QByteArray file = startFileWith("[Wind_Motor02]", {"EinAus=Ein", "Geschwindigkeit=1O"});
    const int line = int(splitLines(file).indexOf("Geschwindigkeit=1O")) + 1;
    const Load bad = loadOver(file);
    expectRefusedUnchanged(bad, LoadResult::Status::NotAnInteger,
                           QStringLiteral("'1O' ist kein gültiger Integerwert (Zeile %1)").arg(line));
    EXPECT_EQ(bad.result.line, line);

    for (const char *bad : {"Stunde=", "Minute=x", "Gruppe=?", "Von=99999999999", "Dauer=1.5"}) {
        ConfigStore t;
        const LoadResult e = readConfigFile(crlfFile({"[Schaltzeit_Mo_Motor01_Nr1]", bad}), t);
        EXPECT_EQ(e.status, LoadResult::Status::NotAnInteger) << bad;
        EXPECT_EQ(e.line, 2) << bad;
    }
    ConfigStore t;
    EXPECT_EQ(readConfigFile(crlfFile({"[Beschattung_MotorAB]"}), t).message,
              QStringLiteral("'AB' ist kein gültiger Integerwert (Zeile 1)"));
    EXPECT_EQ(readConfigFile(crlfFile({"[Wind_Motor01]", "Geschwindigkeit=%2%1"}), t).message,
              QStringLiteral("'%2%1' ist kein gültiger Integerwert (Zeile 2)"));
}

TEST(ConfigFileReader, NumbersAcceptSignsAndSurroundingBlanks)
{
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(startFileWith("[Parameter_]", {"Offset_IT= -3 ", "Offset_AT=+5", "Zufalls-Zeitspanne=2",
                                                              "Beschattungs-Hysterese=50", "Heizungs-Hysterese=1"}),
                               s).ok);
    EXPECT_EQ(s.Parameter.Offset_IT, 2);
    EXPECT_EQ(s.Parameter.Offset_AT, 10);
    EXPECT_EQ(s.Parameter.ZufallsZeitspanne, 0);
    EXPECT_EQ(s.Parameter.BeschattungsHysterese, 48);
}

namespace {

// The file with one line of a section replaced; the number of the new line.
int replaceInSection(QByteArray &file, const QByteArray &header, const QByteArray &from, const QByteArray &to)
{
    const qsizetype section = file.indexOf(header + "\r\n");
    const qsizetype at = file.indexOf("\r\n" + from + "\r\n", section);
    EXPECT_TRUE(section >= 0 && at >= 0) << header.constData() << " " << from.constData();
    file.replace(at + 2, from.size(), to);
    return int(file.left(at + 2).count('\n')) + 1;
}

QString outOfRange(const QByteArray &value, int line)
{
    return QStringLiteral("Wert '%1' außerhalb des gültigen Bereichs (Zeile %2)").arg(QString::fromUtf8(value)).arg(line);
}

} // namespace

TEST(ConfigFileReader, AValueOutsideItsFieldsRangeIsRefusedWithItsLine)
{
    struct Case {
        const char *header;
        const char *from;
        const char *to;
        const char *value; // as quoted
    };
    const Case cases[] = {
        {"[Schaltzeit_Mo_Motor01_Nr1]", "Stunde=--", "Stunde=99", "99"},
        {"[Schaltzeit_Mo_Motor01_Nr1]", "Minute=--", "Minute=-77", "-77"},
        {"[Schaltzeit_Mo_Motor01_Nr1]", "Minute=--", "Minute=-1", "-1"},
        {"[Schaltzeit_Di_Motor03_Nr2]", "Dauer=40", "Dauer=410", "410"}, // code 130
        {"[Schaltzeit_Di_Motor03_Nr2]", "Dauer=40", "Dauer=0", "0"},     // code -1
        {"[Schaltzeit_So_Motor32_Nr8]", "Gruppe=1", "Gruppe=3", "3"},
        {"[Schaltzeit_So_Motor32_Nr8]", "Richtung=Auf", "Richtung=Deaktiv", "Deaktiv"},
        {"[Wind_Motor01]", "Geschwindigkeit=30", "Geschwindigkeit=4", "4"},
        {"[Wind_Motor01]", "Geschwindigkeit=30", "Geschwindigkeit=100", "100"},
        {"[Regen_Motor05]", "Richtung=Auf", "Richtung=Deaktiv", "Deaktiv"},
        {"[HeizungsSteuerung_Motor07]", "TagTemperatur=210", "TagTemperatur=297", "297"},
        {"[HeizungsSteuerung_Motor07]", "NachtTemperatur=180", "NachtTemperatur=296", "296"},
        {"[Beschattung_Motor01]", "Temperatur=22", "Temperatur=2147483647", "2147483647"},
        {"[DaemmerungMorgen_Motor02]", "Von=8", "Von=12", "12"},
        {"[AlarmPattern_]", "Motor09=1", "Motor09=3", "3"},
        {"[Gruppen-Zentralsteuerung_]", "Gruppe_2_Bank_3=0", "Gruppe_2_Bank_3=256", "256"},
        {"[Parameter_]", "Offset_AT=0", "Offset_AT=6", "6"},
        {"[TastAutomatik_Motor32]", "Dauer=21", "Dauer=-1", "-1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        QByteArray file = writeConfigFile(ConfigStore{});
        const int line = replaceInSection(file, c.header, c.from, c.to);
        expectRefusedUnchanged(loadOver(file), LoadResult::Status::OutOfRange, outOfRange(c.value, line));
    }

    // A time needs both halves: the minute "--" goes only with the hour "--".
    QByteArray halfTime = writeConfigFile(ConfigStore{});
    replaceInSection(halfTime, "[Schaltzeit_Mi_Motor04_Nr5]", "Stunde=--", "Stunde=7");
    const int minute = replaceInSection(halfTime, "[Schaltzeit_Mi_Motor04_Nr5]", "Minute=--", "Minute=--");
    expectRefusedUnchanged(loadOver(halfTime), LoadResult::Status::OutOfRange, outOfRange("--", minute));

    // Every number at 2147483647: the first one is refused.
    const QByteArray huge = QString::fromLatin1(writeConfigFile(randomStore(12)))
                                .replace(QRegularExpression(QStringLiteral("=-?[0-9]+\r\n")), QStringLiteral("=2147483647\r\n"))
                                .toLatin1();
    const Load hugeLoad = loadOver(huge);
    EXPECT_EQ(hugeLoad.result.status, LoadResult::Status::OutOfRange);
    EXPECT_TRUE(splitLines(huge).at(hugeLoad.result.line - 1).endsWith("=2147483647"));
}

TEST(ConfigFileReader, OnlyAWholeFileWithItsLastLineEndedLoads)
{
    const QByteArray full = writeConfigFile(randomStore(8));
    const QList<QByteArray> lines = splitLines(full);
    // Cut before a section: the message names the first one missing, where it belongs. Every
    // section but most of the schedule.
    int sections = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith('[') || (lines[i].startsWith("[Schaltzeit_") && ++sections % 97 != 1))
            continue;
        SCOPED_TRACE(lines[i].constData());
        qsizetype at = 0;
        for (int l = 0; l < i; ++l)
            at += lines[l].size() + 2;
        const Load cut = loadOver(full.left(at));
        const QString expected =
            i == 0 ? QStringLiteral("Die Datei enthält keine Einstellungen.")
                   : QStringLiteral("Die Datei ist unvollständig: Abschnitt %1 fehlt (Zeile %2).")
                         .arg(QString::fromLatin1(lines[i]))
                         .arg(i + 1);
        expectRefusedUnchanged(cut, i == 0 ? LoadResult::Status::NoSettings : LoadResult::Status::Incomplete, expected);
    }

    const int lastHeader = int(lines.lastIndexOf("[TastAutomatik_Motor32]")) + 1;
    const QString endsInLast =
        QStringLiteral("Die Datei endet unvollständig im Abschnitt [TastAutomatik_Motor32] (Zeile %1).").arg(lastHeader);
    for (const int chopped : {1, 2, 3, 4, 9}) // the last line end, the empty line, into the last key
        expectRefusedUnchanged(loadOver(full.chopped(chopped)), LoadResult::Status::Incomplete, endsInLast);

    const qsizetype wind = full.indexOf("[Wind_Motor05]");
    expectRefusedUnchanged(loadOver(full.left(wind + 6)), LoadResult::Status::Incomplete,
                           QStringLiteral("Die Datei endet unvollständig im Abschnitt [Wind_ (Zeile %1).")
                               .arg(full.left(wind).count('\n') + 1));

    // A section missing in the middle is named with the line of the one that follows it.
    QByteArray gap = full;
    gap.remove(gap.indexOf("[Schaltzeit_Di_Motor05_Nr3]"), sectionOf(full, "[Schaltzeit_Di_Motor05_Nr3]").size());
    const int next = int(splitLines(gap).indexOf("[Schaltzeit_Di_Motor05_Nr4]")) + 1;
    expectRefusedUnchanged(loadOver(gap), LoadResult::Status::Incomplete,
                           QStringLiteral("Die Datei ist unvollständig: Abschnitt [Schaltzeit_Di_Motor05_Nr3] fehlt "
                                          "(Zeile %1).").arg(next));

    // Whole sections in another order are still a whole file.
    QByteArray reordered = full;
    const QByteArray names = sectionOf(full, "[Motor-Namen_]");
    reordered.remove(0, names.size());
    reordered += names;
    const Load moved = loadOver(reordered);
    EXPECT_TRUE(moved.result.ok) << moved.result.message.toStdString();
    EXPECT_TRUE(moved.store.allPending());
}

TEST(ConfigFileReader, AFileWithAByteOrderMarkIsReadAsUtf8)
{
    ConfigStore named;
    named.MotorNamen[2] = QStringLiteral("Küche");
    named.MotorNamen[5] = QStringLiteral("Bad €");
    const QByteArray windows = writeConfigFile(named);
    QByteArray utf8 = windows;
    utf8.replace("Motor03=K\xFC" "che", "Motor03=Küche").replace("Motor06=Bad \x80", "Motor06=Bad €");
    utf8.prepend("\xEF\xBB\xBF");

    ConfigStore s;
    ASSERT_TRUE(readConfigFile(utf8, s).ok);
    EXPECT_EQ(s.MotorNamen[2], QStringLiteral("Küche"));
    EXPECT_EQ(s.MotorNamen[5], QStringLiteral("Bad €"));
    ASSERT_TRUE(readConfigFile(windows, s).ok);
    EXPECT_EQ(s.MotorNamen[2], QStringLiteral("Küche"));
    // Without the mark the bytes are Windows-1252.
    ASSERT_TRUE(readConfigFile(utf8.mid(3), s).ok);
    EXPECT_EQ(s.MotorNamen[2], QStringLiteral("KÃ¼che"));

    // A name Windows-1252 cannot carry, and bytes that are no UTF-8, are bad values.
    QByteArray omega = utf8;
    omega.replace("Motor06=Bad €", "Motor06=Ωmega");
    expectRefusedUnchanged(loadOver(omega), LoadResult::Status::OutOfRange, outOfRange("Ωmega", 7));
    QByteArray broken = utf8;
    broken.replace("Motor06=Bad €", "Motor06=Bad \xE2\x82");
    expectRefusedUnchanged(loadOver(broken), LoadResult::Status::OutOfRange, outOfRange("Bad \xE2\x82", 7));
}

TEST(ConfigFileReader, PiecesOfAnySizeReadLikeTheWholeFile)
{
    const QByteArray file = "\xEF\xBB\xBF" + fromWindows1252(writeConfigFile(randomStore(17))).toUtf8();
    ConfigStore whole;
    ASSERT_TRUE(readConfigFile(file, whole).ok);
    for (const qsizetype size : {1, 2, 7, 4096}) {
        ConfigStore s;
        ConfigFileReader reader(s);
        for (qsizetype at = 0; at < file.size(); at += size)
            ASSERT_TRUE(reader.feed(QByteArrayView(file).sliced(at, std::min(size, file.size() - at))));
        ASSERT_TRUE(reader.finish().ok) << size;
        EXPECT_TRUE(s == whole) << size;
    }
}
