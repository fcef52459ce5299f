#include "PromoCatalogue.h"

#include "PromoMenuBar.h"
#include "PromoResources.h"
#include "WebHosts.h"

#include <QCoreApplication>
#include <QPixmap>

namespace QMWidgets {

namespace {

using Match = PromoCatalogue::Match;

// Web pages of applications on Apple's app store.
const char* const kAppleStoreAppPages = "https://apps.apple.com";

// The maker's applications. Equal rows come first so that a request for a
// named edition ("guitartuner") is never taken by a looser row.
//  - The per-instrument chord books and tuners are skipped by their family's
//    base application, which holds them all; the tuner base in turn is part
//    of the chord book and the chord finder.
//  - Chord finders for one instrument are asked for as "chordfinder" plus
//    the instrument; the all-instrument chord finder skips them.
//  - Desktop tools are matched loosely; two of them live on the server under
//    a "desk" prefix.
const QVector<PromoCatalogue::Row> kRows = {
    // Picture tools
    {Match::Equal, "zintrop", "zintrop", "Shrink PNG images in one batch", "Zintrop", nullptr, nullptr},
    {Match::Equal, "jpegtrim", "jpegtrim", "Make JPEG photos smaller without fuss", "JpegTrim", nullptr, nullptr},
    {Match::Equal, "imageresize", "imageresize", "Resize whole folders of pictures", "ImageResize", nullptr, nullptr},
    {Match::Equal, "iconforge", "iconforge", "Make app icons in every size", "IconForge", nullptr, nullptr},
    {Match::Equal, "colorpicker", "colorpicker", "Pick any colour on the screen", "HuePicker", nullptr, nullptr},
    // Screen and page tools
    {Match::Equal, "screengrab", "screengrab", "Capture the screen and mark it up", "ScreenGrab", nullptr, nullptr},
    {Match::Equal, "screenruler", "screenruler", "Measure anything on the screen", "ScreenRuler", nullptr, nullptr},
    {Match::Equal, "pagesaver", "pagesaver", "Save web pages as PDF && images", "PageSaver", nullptr, nullptr},
    {Match::Equal, "screenmarker", "screenmarker", "Draw on the screen while you present", "ScreenMarker", nullptr, nullptr},
    // Music tools
    {Match::Equal, "chordbook", "chordbook", "Chords for every instrument in one book", "ChordBook", nullptr, nullptr},
    {Match::Equal, "tunerpro", "tunerpro", "Tune any instrument by ear or by needle", "TunerPro", "chordbook", "chordfinder"},
    {Match::Equal, "chordfinder", "chordfinder", "Find chords on any fretboard", "ChordFinder", nullptr, nullptr},
    {Match::Equal, "songbook", "songbook", "Keep your songs, lyrics && chords together", "SongBook", nullptr, nullptr},
    {Match::Equal, "banjotabs", "banjotabs", "Banjo tabs to read and play along", "BanjoTabs", nullptr, nullptr},
    {Match::Equal, "guitartabs", "guitartabs", "Guitar tabs to read and play along", "GuitarTabs", nullptr, nullptr},
    {Match::Equal, "pianoscales", "pianoscales", "Learn every scale on the piano", "PianoScales", nullptr, nullptr},
    // Chord book editions
    {Match::Equal, "guitarchordbook", "guitarchordbook", "Guitar chords at a glance", "GuitarChordBook", "chordbook", nullptr},
    {Match::Equal, "basschordbook", "basschordbook", "Bass chords at a glance", "BassChordBook", "chordbook", nullptr},
    {Match::Equal, "ukulelechordbook", "ukulelechordbook", "Ukulele chords at a glance", "UkuleleChordBook", "chordbook", nullptr},
    {Match::Equal, "mandolinchordbook", "mandolinchordbook", "Mandolin chords at a glance", "MandolinChordBook", "chordbook", nullptr},
    {Match::Equal, "banjochordbook", "banjochordbook", "Banjo chords at a glance", "BanjoChordBook", "chordbook", nullptr},
    {Match::Equal, "pianochordbook", "pianochordbook", "Piano chords at a glance", "PianoChordBook", "chordbook", nullptr},
    // Tuner editions
    {Match::Equal, "guitartuner", "guitartuner", "Tune your guitar in seconds", "GuitarTuner", "tunerpro", nullptr},
    {Match::Equal, "basstuner", "basstuner", "Tune your bass in seconds", "BassTuner", "tunerpro", nullptr},
    {Match::Equal, "ukuleletuner", "ukuleletuner", "Tune your ukulele in seconds", "UkuleleTuner", "tunerpro", nullptr},
    {Match::Equal, "violintuner", "violintuner", "Tune your violin in seconds", "ViolinTuner", "tunerpro", nullptr},
    {Match::Equal, "mandolintuner", "mandolintuner", "Tune your mandolin in seconds", "MandolinTuner", "tunerpro", nullptr},
    {Match::Equal, "balalaikatuner", "balalaikatuner", "Tune your balalaika in seconds", "BalalaikaTuner", "tunerpro", nullptr},
    // Chord finders for one instrument
    {Match::EndsWith, "guitar", "crdguitar", "Find guitar chords fast", "GuitarChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "bass", "crdbass", "Find bass chords fast", "BassChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "ukulele", "crdukulele", "Find ukulele chords fast", "UkuleleChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "mandolin", "crdmandolin", "Find mandolin chords fast", "MandolinChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "banjo", "crdbanjo", "Find banjo chords fast", "BanjoChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "balalaika", "crdbalalaika", "Find balalaika chords fast", "BalalaikaChordFinder", "chordfinder", nullptr},
    {Match::EndsWith, "piano", "crdpiano", "Find piano chords fast", "PianoChordFinder", "chordfinder", nullptr},
    // Practice and desktop tools
    {Match::Contains, "metronome", "metronome", "A steady metronome for every tempo", "Metronome", nullptr, nullptr},
    {Match::Contains, "drummachine", "drummachine", "Build drum loops to practise with", "DrumMachine", nullptr, nullptr},
    {Match::Contains, "eartrainer", "eartrainer", "Train your ear for notes && intervals", "EarTrainer", nullptr, nullptr},
    {Match::Contains, "scalefinder", "scalefinder", "Find the scale that fits your song", "ScaleFinder", nullptr, nullptr},
    {Match::Contains, "clock", "deskclock", "A clock for your desktop", "DeskClock", nullptr, nullptr},
    {Match::Contains, "timer", "desktimer", "Count down anything on your desktop", "DeskTimer", nullptr, nullptr},
    {Match::Contains, "calendar", "calendar", "A calendar always at hand", "DeskCalendar", nullptr, nullptr},
};

// The sibling whose presence in the application's name drops its own
// request from the "audio" sequence.
const char* const kAudioSiblingDisplayName = "WavRecorder";

// Tested in this order when the category is empty; the first one found in
// the application's name picks the list.
const char* const kInstruments[] = {
    "balalaika", "banjo", "bass", "guitar", "mandolin", "piano", "ukulele", "violin",
};

}  // namespace

const QVector<PromoCatalogue::Row>& PromoCatalogue::rows()
{
    return kRows;
}

QString PromoCatalogue::ownKey(const QString& strAppName)
{
    QString strKey = strAppName.toLower();
    strKey.remove(QLatin1String("lite"));
    strKey.remove(QLatin1Char(' '));
    return strKey;
}

bool PromoCatalogue::matches(Match mode, const QString& strText, const QString& strKey)
{
    switch (mode) {
    case Match::Equal:
        return strText == strKey;
    case Match::EndsWith:
        return strText.endsWith(strKey);
    case Match::Contains:
        return strText.contains(strKey);
    }
    return false;
}

int PromoCatalogue::findRow(const QVector<Row>& table, const QString& strRequest, const QString& strOwnKey)
{
    for (int i = 0; i < table.size(); ++i) {
        const Row& row = table.at(i);
        const QString strMatchKey = QLatin1String(row.szMatchKey);
        if (!matches(row.mode, strRequest, strMatchKey))
            continue;
        if (matches(row.mode, strOwnKey, strMatchKey))
            continue;
        if ((row.szExcluded1 && strOwnKey == QLatin1String(row.szExcluded1))
            || (row.szExcluded2 && strOwnKey == QLatin1String(row.szExcluded2)))
            continue;
        return i;
    }
    return -1;
}

QString PromoCatalogue::link(const QString& strLinkKey)
{
    return Platform::webHost(Platform::WebHost::AppServer) + QLatin1String("/crosspromo.php?appname=")
        + strLinkKey;
}

QString PromoCatalogue::storeAppPage(const QString& strAppName, const QString& strStoreId)
{
    return QLatin1String(kAppleStoreAppPages) + QLatin1String("/app/") + strAppName.toLower() + QLatin1Char('/')
        + strStoreId + QLatin1String("?ls=1&mt=12");
}

QString PromoCatalogue::iconPath(const Row& row)
{
    return QLatin1String(":/") + QLatin1String(row.szDisplayName) + QLatin1String("64x64.png");
}

// ---- the top bar's catalogue operations ------------------------------------

void PromoMenuBar::addApp(const QString& strKey)
{
    const QString strOwnKey = PromoCatalogue::ownKey(QCoreApplication::applicationName());
    const int nRow = PromoCatalogue::findRow(PromoCatalogue::rows(), strKey, strOwnKey);
    if (nRow < 0)
        return;
    initPromoResources();
    const PromoCatalogue::Row& row = PromoCatalogue::rows().at(nRow);
    addAppAction(QPixmap(PromoCatalogue::iconPath(row)), QLatin1String(row.szText),
                 PromoCatalogue::link(QLatin1String(row.szLinkKey)));
}

void PromoMenuBar::addGroup(std::initializer_list<const char*> keys)
{
    for (const char* szKey : keys)
        addApp(QLatin1String(szKey));
    addMoreSeparator();
}

void PromoMenuBar::addGeneralMusicApps()
{
    addGroup({"metronome", "drummachine", "eartrainer", "scalefinder"});
}

void PromoMenuBar::addBanjoApps()
{
    addGroup({"banjochordbook", "chordfinderbanjo", "banjotabs"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfinderukulele", "chordfindermandolin", "chordfinderbass"});
    addGroup({"guitarchordbook", "ukulelechordbook", "mandolinchordbook", "basschordbook"});
}

void PromoMenuBar::addMandolinApps()
{
    addGroup({"mandolinchordbook", "chordfindermandolin", "mandolintuner", "songbook"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfinderbanjo", "guitarchordbook", "banjochordbook"});
}

void PromoMenuBar::addBalalaikaApps()
{
    addGroup({"balalaikatuner", "chordfinderbalalaika"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfinderbass", "chordfinderukulele", "chordfindermandolin",
              "chordfinderbanjo"});
    addGroup({"guitarchordbook", "basschordbook", "ukulelechordbook", "mandolinchordbook", "banjochordbook"});
}

void PromoMenuBar::addPianoApps()
{
    addGroup({"pianochordbook", "chordfinderpiano", "pianoscales"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfinderukulele", "guitarchordbook", "ukulelechordbook"});
}

void PromoMenuBar::addGuitarApps()
{
    addGroup({"guitarchordbook", "chordfinderguitar", "guitartuner", "guitartabs"});
    addGeneralMusicApps();
    addGroup({"chordfinderbass", "chordfinderukulele", "basschordbook", "ukulelechordbook"});
}

void PromoMenuBar::addBassApps()
{
    addGroup({"basschordbook", "chordfinderbass", "basstuner", "songbook"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfinderukulele", "guitarchordbook", "ukulelechordbook"});
}

void PromoMenuBar::addUkuleleApps()
{
    addGroup({"ukulelechordbook", "chordfinderukulele", "ukuleletuner", "songbook"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfindermandolin", "guitarchordbook", "mandolinchordbook"});
}

void PromoMenuBar::addViolinApps()
{
    addGroup({"violintuner", "songbook"});
    addGeneralMusicApps();
    addGroup({"chordfinderguitar", "chordfindermandolin", "guitarchordbook", "mandolinchordbook"});
}

void PromoMenuBar::addAudioApps()
{
    addGroup({"audiocutter", "wavrecorder", "voicenotes"});
    addGroup({"zintrop", "jpegtrim", "imageresize", "iconforge", "colorpicker"});
    addGroup({"clock", "timer", "calendar"});
}

void PromoMenuBar::addCatalogue(const QString& strCategory)
{
    using AddList = void (PromoMenuBar::*)();
    struct InstrumentList {
        const char* szName;
        AddList addList;
    };
    static const InstrumentList kLists[] = {
        {"guitar", &PromoMenuBar::addGuitarApps},
        {"bass", &PromoMenuBar::addBassApps},
        {"ukulele", &PromoMenuBar::addUkuleleApps},
        {"mandolin", &PromoMenuBar::addMandolinApps},
        {"banjo", &PromoMenuBar::addBanjoApps},
        {"balalaika", &PromoMenuBar::addBalalaikaApps},
        {"piano", &PromoMenuBar::addPianoApps},
        {"violin", &PromoMenuBar::addViolinApps},
    };
    auto listFor = [](const QString& strInstrument) -> AddList {
        for (const InstrumentList& list : kLists) {
            if (strInstrument == QLatin1String(list.szName))
                return list.addList;
        }
        return nullptr;
    };

    const QString strAppName = QCoreApplication::applicationName();
    if (strCategory.isEmpty()) {
        const QString strLowerName = strAppName.toLower();
        for (const char* szInstrument : kInstruments) {
            if (strLowerName.contains(QLatin1String(szInstrument))) {
                (this->*listFor(QLatin1String(szInstrument)))();
                break;
            }
        }
        addAudioApps();
    } else if (strCategory == QLatin1String("graphics")) {
        addGroup({"zintrop", "jpegtrim", "imageresize", "iconforge", "colorpicker"});
        addGroup({"screengrab", "screenruler", "pagesaver", "screenmarker"});
        addGroup({"audiocutter", "wavrecorder", "voicenotes", "audioconvert"});
        addGroup({"metronome", "chordbook", "tunerpro", "clock"});
    } else if (const AddList addList = listFor(strCategory)) {
        (this->*addList)();
        addAudioApps();
    } else if (strCategory == QLatin1String("photo")) {
        // The first group's last tool may be the running program itself.
        if (!strAppName.toLower().contains(QLatin1String("zintrop")))
            addGroup({"jpegtrim", "imageresize", "zintrop"});
        addGroup({"colorpicker", "iconforge", "screengrab", "screenmarker", "pagesaver", "screenruler"});
        addGroup({"audiocutter", "wavrecorder", "voicenotes", "audioconvert"});
        addGroup({"clock", "timer", "calendar", "metronome", "songbook"});
    } else if (strCategory == QLatin1String("developer")) {
        addGroup({"colorpicker", "iconforge", "screenruler", "screengrab"});
        addGroup({"pagesaver", "screenmarker", "zintrop"});
        addGroup({"audiocutter", "wavrecorder", "voicenotes", "audioconvert"});
        addGroup({"clock", "timer", "calendar", "jpegtrim", "imageresize"});
    } else if (strCategory == QLatin1String("audio")) {
        addApp(QStringLiteral("audiocutter"));
        if (!strAppName.contains(QLatin1String(kAudioSiblingDisplayName)))
            addApp(QStringLiteral("wavrecorder"));
        addApp(QStringLiteral("voicenotes"));
        addApp(QStringLiteral("audioconvert"));
        addMoreSeparator();
        addGroup({"zintrop", "jpegtrim", "imageresize", "iconforge", "colorpicker"});
        addGroup({"screengrab", "screenruler", "pagesaver", "screenmarker"});
        addGroup({"metronome", "chordbook", "tunerpro", "clock"});
    } else if (strCategory == QLatin1String("music")) {
        addGroup({"chordbook", "chordfinder", "tunerpro", "songbook", "metronome"});
        addGroup({"drummachine", "eartrainer", "scalefinder", "pianoscales"});
        addAudioApps();
    }

    addMoreSeparator();
    addMoreAppsEntry();
}

}  // namespace QMWidgets
