// The window's languages: every entry of the .ts files finished, with its
// source's placeholders and accelerators, and in each language every text of
// the main window, the speed plot and the log window within its control.

#include "app/log_window.h"
#include "app/speed_plot.h"
#include "app/translation.h"
#include "app/widget_dialogs.h"
#include "control_texts.h"
#include "firmware/image_locations.h"
#include "form_fixture.h"
#include "link/model_table.h"
#include "link/status_texts.h"
#include "params/param_ops.h"
#include "serial/recent_lines.h"
#include "testing/sim_session.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <vector>

namespace {

const QStringList kLanguages = {"de", "es", "fr", "pt_BR", "ru", "zh_CN"};

struct Entry {
    QString source;
    QString translation;
    QString type;  // "unfinished", "vanished", "obsolete" or empty
};

// The text of the element the reader stands at; lupdate writes a carriage
// return as <byte value="xd"/>.
QString element_text(QXmlStreamReader& xml)
{
    const QString name = xml.name().toString();
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters())
            text += xml.text();
        else if (xml.isStartElement() && xml.name() == u"byte")
            text += QChar(xml.attributes().value(QStringLiteral("value")).mid(1).toInt(nullptr, 16));
        else if (xml.isEndElement() && xml.name() == name)
            break;
    }
    return text;
}

std::vector<Entry> entries(const QString& path, QString* error)
{
    std::vector<Entry> all;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return all;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"message")
            all.emplace_back();
        else if (xml.name() == u"source" && !all.empty())
            all.back().source = element_text(xml);
        else if (xml.name() == u"translation" && !all.empty()) {
            all.back().type = xml.attributes().value(QStringLiteral("type")).toString();
            all.back().translation = element_text(xml);
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return all;
}

QStringList placeholders(const QString& text)
{
    QStringList found;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%\\d+")).globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

qsizetype accelerators(QString text)
{
    return text.remove(QStringLiteral("&&")).count(u'&');
}

TEST(Translations, EveryEntryIsFinishedAndKeepsItsPlaceholdersAndAccelerators)
{
    for (const QString& language : kLanguages) {
        SCOPED_TRACE(language.toStdString());
        QString error;
        const std::vector<Entry> all =
            entries(QStringLiteral(ZELT_TS_DIR "/zelt_") + language + ".ts", &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        ASSERT_GT(all.size(), 50u);
        for (const Entry& e : all) {
            SCOPED_TRACE(e.source.toStdString());
            EXPECT_TRUE(e.type.isEmpty()) << e.type.toStdString();
            EXPECT_FALSE(e.translation.isEmpty());
            EXPECT_EQ(placeholders(e.translation), placeholders(e.source));
            EXPECT_EQ(accelerators(e.translation), accelerators(e.source));
        }
    }
}

// English is the language the texts are written in: the C locale and an
// English one load nothing, and every text stays as written.
TEST(Translations, EnglishAndTheCLocaleKeepTheTextsAsWritten)
{
    for (const char* name : {"C", "en", "en_GB", "en_US"}) {
        EXPECT_FALSE(install_translations(*qApp, QLocale(QString::fromLatin1(name)), {ZELT_QM_DIR})) << name;
        EXPECT_EQ(QCoreApplication::translate("TForm1", "Choose COM"), "Choose COM") << name;
    }
    EXPECT_EQ(chosen_locale("pt_BR").name(), "pt_BR");
    EXPECT_EQ(chosen_locale(QString()), QLocale::system());
}

// The boxes show the operations' marked texts translated, status texts they
// repeat too; composed texts and those of other languages as they come.
TEST(Translations, BoxesShowTheMarkedTextsTranslated)
{
    ASSERT_TRUE(install_translations(*qApp, QLocale("de"), {ZELT_QM_DIR}));
    EXPECT_EQ(shown_box_title("Comm error"), "Verbindungsfehler");
    EXPECT_EQ(shown_box_text("Save file error"), "Fehler beim Speichern der Datei");
    EXPECT_EQ(shown_box_text("Reading ESC parameter OK"), "Parameter gelesen");
    EXPECT_EQ(shown_box_text(QStringLiteral("Comm port open error") + QChar(0xFF01)),
              QStringLiteral("Fehler beim Öffnen des Ports") + QChar(0xFF01));
    EXPECT_EQ(firmware::missing_image_text("esc_g1.txt", {"/opt/a", "/opt/b"}),
              "Die Firmware-Datei esc_g1.txt lässt sich nicht öffnen:\r\nDatei nicht gefunden\r\n"
              "Gesucht in:\r\n/opt/a\r\n/opt/b");
    EXPECT_EQ(
        shown_box_text("sorry! You can not update of the ESC,\r\nplease contact manufacturers."),
        "Dieser Regler kann leider nicht aktualisiert werden,\r\nbitte wenden Sie sich an den Hersteller.");
    EXPECT_EQ(shown_box_text("find setting card connected with/dev/ttyUSB0\r\nnot find ESC"),
              "find setting card connected with/dev/ttyUSB0\r\nnot find ESC");
    EXPECT_EQ(shown_box_title("Fehler"), "Fehler");
    install_translations(*qApp, QLocale::c(), {});
    EXPECT_EQ(shown_box_text("Save file error"), "Save file error");
}

// The texts an operation puts together, in the user's language as it puts
// them together: the search's report of what it found.
class TranslatedOperations : public SimSessionTest {
protected:
    void TearDown() override
    {
        install_translations(*qApp, QLocale::c(), {});
        SimSessionTest::TearDown();
    }
};

TEST_F(TranslatedOperations, TheSearchReportsWhatItFoundInTheUsersLanguage)
{
    ASSERT_TRUE(install_translations(*qApp, QLocale("fr"), {ZELT_QM_DIR}));
    const QString port = QString::fromStdString(sim_->port_path());
    s().link().set_port_list({port});
    s().link().run_command([this] { s().link().search_by_user(); });
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    const QString text = dialogs_.boxes[0].text;
    EXPECT_TRUE(text.startsWith("Carte de réglage trouvée sur " + port + "\r\net ESC ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith(" trouvé")) << text.toStdString();
}

// An identified ESC's labels: the fixed part translated, the model and the
// versions as the reply gave them; a whole fixed label is never taken apart.
TEST(Translations, EscLabelsKeepTheModelAndVersionAsGiven)
{
    const struct {
        const char* label;
        const char* de;
    } cases[] = {
        {"HW type:ESC_T03", "HW-Typ: ESC_T03"},    {"HW type:", "HW-Typ: "},
        {"HW version:V1.2", "HW-Version: V1.2"},   {"FW version:V1.A", "FW-Version: V1.A"},
        {"HW type:unknown", "HW-Typ: unbekannt"},  {"FW version:unknown", "FW-Version: unbekannt"},
        {"HW Type: Unknown", "HW-Typ: unbekannt"}, {"ESC_T03", "ESC_T03"},
    };
    ASSERT_TRUE(install_translations(*qApp, QLocale("de"), {ZELT_QM_DIR}));
    for (const auto& c : cases)
        EXPECT_EQ(shown_esc_label(c.label), QString::fromUtf8(c.de)) << c.label;
    install_translations(*qApp, QLocale::c(), {});
    for (const auto& c : cases)
        EXPECT_EQ(shown_esc_label(c.label), c.label);
}

TEST_F(TranslatedOperations, AnUnselectedListIsNamedByItsTranslatedCaption)
{
    ASSERT_TRUE(install_translations(*qApp, QLocale("es"), {ZELT_QM_DIR}));
    const Outcome refused = s().params().write({0, 1, 0, -1, 2, 2, 3, 0});
    EXPECT_EQ(refused.kind, Outcome::Kind::Refused);
    ASSERT_EQ(dialogs_.boxes.size(), 1u);
    EXPECT_EQ(dialogs_.boxes[0].text,
              "No hay valor seleccionado para Modo de arranque. Elija uno antes de descargar.");
}

class TranslatedWindows : public FormTest, public ::testing::WithParamInterface<QString> {
protected:
    // Back to English for the tests after this one.
    void TearDown() override { install_translations(*qApp, QLocale::c(), {}); }
};

TEST_P(TranslatedWindows, EveryTextFitsItsControl)
{
    ASSERT_TRUE(install_translations(*qApp, QLocale(GetParam()), {ZELT_QM_DIR}));
    auto form = makeForm();
    EXPECT_NE(control<QGroupBox>(*form, "GroupBox1")->title(), "Choose COM") << "not translated";
    EXPECT_EQ(form->size(), QSize(389, 463));
    RecentLines lines;
    LogWindow log(lines, boxes);
    SpeedPlotWindow plot(boxes);
    for (QWidget* window :
         {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(&log), static_cast<QWidget*>(&plot)}) {
        window->show();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->objectName().startsWith(QLatin1String("qt_")))
                continue;  // the parts Qt builds a control of
            QStringList texts{caption_of(w)};
            if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    texts << combo->itemText(i);
            for (const QString& text : texts)
                EXPECT_LE(w->fontMetrics().horizontalAdvance(text), text_room(w))
                    << w->objectName().toStdString() << " cannot show '" << text.toStdString() << "'";
        }
    }
    // The link's texts, which the window shows translated: the status line
    // (up to the progress bar over its end) and the ESC labels, fixed and of
    // the longest model and a version.
    using namespace status;
    const std::pair<const char*, std::vector<const char*>> shown[] = {
        {"Label15",
         {kIdle, kCommError, kSwitchPort, kPerformCommand, kFinding, kSearchResult, kReading, kReadOk,
          kSending, kSendDone, kUpdateStart, kUpdateWriting, kUpdateVerifying, kUpdateFinished, kTesting,
          kSpeedAnswersStopped}},
        {"Label2", {kLabelsDesign.type, kLabelsNoEsc.type, kLabelsUnknown.type, "HW type:ESC_T15"}},
        {"Label3",
         {kLabelsDesign.hwVersion, kLabelsNoEsc.hwVersion, kLabelsUnknown.hwVersion, "HW version:VD.D"}},
        {"Label4",
         {kLabelsDesign.fwVersion, kLabelsNoEsc.fwVersion, kLabelsUnknown.fwVersion, "FW version:VD.D"}},
    };
    const int statusRoom =
        control<QWidget>(*form, "ProgressBar1")->x() - control<QWidget>(*form, "Label15")->x();
    for (const auto& [name, sources] : shown) {
        QLabel* label = control<QLabel>(*form, name);
        const bool statusLine = label->objectName() == "Label15";
        for (const char* source : sources) {
            const QString text = statusLine ? QCoreApplication::translate("status", source)
                                            : shown_esc_label(QString::fromLatin1(source));
            EXPECT_NE(text, QString::fromLatin1(source)) << "not translated";
            EXPECT_LE(label->fontMetrics().horizontalAdvance(text), statusLine ? statusRoom : label->width())
                << name << " cannot show '" << text.toStdString() << "'";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TranslatedWindows,
                         ::testing::ValuesIn(kLanguages.begin(), kLanguages.end()),
                         [](const auto& info) { return info.param.toStdString(); });

}  // namespace
