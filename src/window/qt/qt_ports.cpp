// Qt implementations of the dialogs, the sound, the store adapter and the clock.
#include "window/qt/qt_ports.h"
#include "window/window_texts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <dlfcn.h>

#include "util/days.h"
#include "window/file_filter.h"
#include "window/qt/sound_module.h"

namespace lumera {

namespace {

// The room a title bar takes besides its caption (the window's icon, its buttons, the frame),
// in lines of the title font: generous, since each desktop draws its own.
constexpr int kTitleBarRoomInLines = 7;

// The width a window needs to show its whole caption in the title bar.
int CaptionWidth(const QString& caption) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);  // many desktops set captions in bold
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(caption) + kTitleBarRoomInLines * metrics.height();
}

// A message box at least as wide as its caption needs. QMessageBox fixes its own size each
// time it is shown or laid out, so the width is widened after that.
class MessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    // Shows a plain-text message with an OK button until it is answered.
    static void Show(Icon icon, const QString& caption, const QString& text, QWidget* parent) {
        MessageBox box(icon, caption, text, QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

protected:
    bool event(QEvent* event) override {
        const bool result = QMessageBox::event(event);
        if (event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
            const int needed = CaptionWidth(windowTitle());
            if (width() < needed) setFixedWidth(needed);
        }
        return result;
    }
};

}  // namespace

void ShowErrorReport(QWidget* parent, const std::string& what) {
    MessageBox::Show(QMessageBox::Critical, QApplication::applicationName(), QString::fromLocal8Bit(ErrorReportText(what)),
                     parent);
}

void RunHandler(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorReport(parent, error.what());
    }
}

// ---- Dialogs -----------------------------------------------------------------------------

QtDialogs::QtDialogs(QWidget* parent, std::function<void()> beforeModal)
    : parent_(parent), beforeModal_(std::move(beforeModal)) {}

void QtDialogs::ShowInformation(const std::string& text) {
    if (beforeModal_) beforeModal_();
    // Information texts are ASCII apart from the file names they carry.
    MessageBox::Show(QMessageBox::Information, kInformationCaption, QFile::decodeName(QByteArray::fromStdString(text)),
                     parent_);
}

void QtDialogs::ShowMessage(const std::string& text, const std::string& caption) {
    if (beforeModal_) beforeModal_();
    MessageBox::Show(QMessageBox::NoIcon, FromCp1252(caption), FromCp1252(text), parent_);
}

bool QtDialogs::InputBox(const std::string& caption, const std::string& prompt, std::string& text) {
    if (beforeModal_) beforeModal_();
    QInputDialog box(parent_);
    box.setObjectName("InputBox");
    box.setWindowTitle(FromCp1252(caption));
    box.setLabelText(FromCp1252(prompt));
    // The prompt's label is made by setLabelText; it shows the prompt as it stands, never as markup.
    if (auto* label = box.findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
    box.setTextValue(FromCp1252(text));
    box.setInputMode(QInputDialog::TextInput);
    // The dialog takes its width from its contents; the edit line is made wide enough for the
    // whole caption to show.
    if (auto* edit = box.findChild<QLineEdit*>()) {
        const QMargins margins = box.layout() ? box.layout()->contentsMargins() : QMargins();
        edit->setMinimumWidth(CaptionWidth(box.windowTitle()) - margins.left() - margins.right());
    }
    if (box.exec() != QDialog::Accepted) return false;
    text = ToCp1252Bytes(box.textValue());
    return true;
}

namespace {
// "Name|*.EXT|Name|*.EXT" as Qt filters, one per pair.
QStringList QtFilters(const std::string& filter) {
    QStringList filters;
    for (const FileFilterPair& pair : FileFilterPairs(filter))
        filters << QString::fromStdString(pair.name) + " (" + QString::fromStdString(pair.patterns) + ")";
    return filters;
}
}  // namespace

std::optional<std::string> QtDialogs::ChooseFile(const std::string& filter, const std::string& defaultExtension) {
    if (beforeModal_) beforeModal_();
    QFileDialog dialog(parent_);
    dialog.setObjectName("OpenDialog1");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(QtFilters(filter));
    // Patterns match whatever the case, so lumera8.dat shows under *.DAT.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    dialog.setDefaultSuffix(QString::fromStdString(DefaultSuffix(defaultExtension)));
    dialog.setDirectory(QDir::currentPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

// ---- Sound -------------------------------------------------------------------------------

namespace {

// The audio module's factory, looked for once per process: next to the program (the build
// tree), in ../lib/lumera8 (installed), then where the build put it (tests run from elsewhere).
// The module stays loaded for the rest of the process.
LumeraSoundFactory SoundFactory() {
    static const LumeraSoundFactory factory = [] () -> LumeraSoundFactory {
        const QString appDir = QCoreApplication::applicationDirPath();
        QStringList candidates{appDir + "/lumera8_sound.so", appDir + "/../lib/lumera8/lumera8_sound.so"};
#ifdef LUMERA_SOUND_MODULE_BUILD_PATH
        candidates << QStringLiteral(LUMERA_SOUND_MODULE_BUILD_PATH);
#endif
        for (const QString& candidate : candidates) {
            void* module = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!module) continue;
            if (void* symbol = dlsym(module, LUMERA_SOUND_FACTORY_NAME))
                return reinterpret_cast<LumeraSoundFactory>(symbol);
            dlclose(module);
        }
        return nullptr;
    }();
    return factory;
}

}  // namespace

QtSound::QtSound(std::function<void()> beforePlay) : beforePlay_(std::move(beforePlay)) {}

QtSound::~QtSound() = default;

int WaveLengthMs(const QString& resourcePath) {
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray data = file.readAll();
    if (data.size() < 44 || !data.startsWith("RIFF")) return 0;
    auto u32 = [&](qsizetype at) {
        return quint32(quint8(data[at])) | quint32(quint8(data[at + 1])) << 8 | quint32(quint8(data[at + 2])) << 16 |
               quint32(quint8(data[at + 3])) << 24;
    };
    quint32 byteRate = 0;
    for (qsizetype at = 12; at + 8 <= data.size();) {
        const QByteArray id = data.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (id == "fmt " && at + 20 <= data.size()) byteRate = u32(at + 16);
        if (id == "data" && byteRate > 0) return int(qint64(size) * 1000 / byteRate);
        at += 8 + qsizetype(size) + (size & 1);
    }
    return 0;
}

void QtSound::PlaySound(const std::string& name, bool synchronous) {
    if (beforePlay_) beforePlay_();
    if (!triedModule_) {
        triedModule_ = true;
        if (LumeraSoundFactory factory = SoundFactory()) player_.reset(factory());
    }
    if (!player_) return;  // no audio module: sounds are left out, a synchronous one too
    const QString path = ":/sounds/" + QString::fromStdString(name) + ".wav";
    player_->Play(path, synchronous, synchronous ? WaveLengthMs(path) : 0);
}

// ---- Store and clock ---------------------------------------------------------------------

std::uint64_t SystemClock::SeedValue() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int SystemClock::Today() { return util::TodayDayNumber(); }

}  // namespace lumera
