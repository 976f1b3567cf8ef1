// tav-render [--status-bar] <template-id> <out.png>
// tav-render [--status-bar] --all <dir>
// tav-render --filled <dir>
// tav-render --icon <size> <out.png>
//
// Builds dialog templates as the Qt back end shows them and saves each as a PNG image, with a
// plain title strip standing in for the window manager's frame. --status-bar adds the status bar
// (text pane and key indicators) that the main window creates at run time. --filled renders the
// program's own dialogs filled with a sample System Definition Table: the System Definition
// dialog with a row selected (134-filled.png) and the idle port dialog (137-filled.png). --icon
// draws the program icon at size x size pixels (the install puts these into the desktop's icon
// theme).
//
// Renders are always at the templates' own pixel size: a display scale from the environment
// would otherwise make the grabbed window twice the size of the strip drawn around it.
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/tav_app.h"
#include "platform/fw/dialog.h"
#include "platform/fw/window.h"
#include "platform/qt/known_warnings.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/qt_text.h"
#include "remap/tav_dlg.h"
#include "res/resource.h"
#include "res/resources.h"
#include "sysdef/idle_dlg.h"
#include "sysdef/sysdef_dlg.h"
#include "views/remap_table_dlg.h"
#include "views/remap_table_grid.h"

namespace {

constexpr char kUsage[] =
    "usage: tav-render [--status-bar] <template-id> <out.png>\n"
    "       tav-render [--status-bar] --all <dir>\n"
    "       tav-render --filled <dir>\n"
    "       tav-render --icon <size> <out.png>\n"
    "Renders Tavora's dialog templates (one, or all into <dir> as <id>.png) as PNG images on\n"
    "Qt's offscreen platform; the System Definition dialogs filled with sample data; or the\n"
    "program icon at <size> x <size> pixels.\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool RenderIcon(const std::string& sizeText, const QString& path) {
    char* end = nullptr;
    const long size = std::strtol(sizeText.c_str(), &end, 10);
    if (end == sizeText.c_str() || *end != '\0' || size < 1 || size > 1024) {
        std::fprintf(stderr, "tav-render: icon size must be 1 to 1024, not %s\n", sizeText.c_str());
        return false;
    }
    const fw::IconResource icon = tav::ProgramIconOfSize(static_cast<int>(size));
    QImage image(icon.width, icon.height, QImage::Format_ARGB32);
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            image.setPixel(x, y, icon.argb[static_cast<std::size_t>(y * icon.width + x)]);
        }
    }
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "tav-render: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage WithTitleStrip(const QPixmap& body, const QString& title) {
    constexpr int kStrip = 24;
    QImage image(body.width(), body.height() + kStrip, QImage::Format_ARGB32);
    image.fill(QColor(0x30, 0x30, 0x38));
    QPainter painter(&image);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, body.width() - 16, kStrip), Qt::AlignVCenter | Qt::AlignLeft,
                     title);
    painter.drawPixmap(0, kStrip, body);
    return image;
}

bool Save(fwqt::QtBackend& backend, fw::CDialog& dialog, const QString& path) {
    dialog.ShowWindow(fw::SW_SHOW);
    QApplication::processEvents();
    QWidget* widget = backend.PeerWidget(dialog);
    if (widget == nullptr) {
        std::fprintf(stderr, "tav-render: dialog %d has no window\n", dialog.TemplateId());
        return false;
    }
    const QImage image = WithTitleStrip(widget->grab(), widget->windowTitle());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "tav-render: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%d %s\n", dialog.TemplateId(), qPrintable(path));
    return true;
}

std::unique_ptr<SysDefRecord> SampleRecord(const char* switcher, const char* level, int inputs,
                                           int outputs, int inRange, int outRange) {
    auto record = std::make_unique<SysDefRecord>();
    record->m_strSwitcher = switcher;
    record->m_strLevel = level;
    record->m_nInputs = inputs;
    record->m_nOutputs = outputs;
    record->m_nInRange = inRange;
    record->m_nOutRange = outRange;
    return record;
}

// The System Definition dialog over a sample table held by a main dialog (whose window is never
// made), with a row clicked, the idle port dialog of that row, and the input remap table view.
bool RenderFilled(fwqt::QtBackend& backend, const QString& dir) {
    CTavApp app("tavora");
    CTavDlg main;
    app.m_pMainWnd = &main;
    auto table = std::make_unique<SysDefTable>();
    table->push_back(SampleRecord("MAIN", "VIDEO", 128, 64, 16, 16));
    table->push_back(SampleRecord("MAIN", "AUDIO1", 64, 64, 8, 8));
    table->push_back(SampleRecord("MAIN", "AUDIO2", 64, 32, 0, 0));
    table->push_back(SampleRecord("STUDIO", "VIDEO", 32, 32, 8, 0));
    table->push_back(SampleRecord("STUDIO", "TC", 16, 16, 0, 0));
    SysDefRecord& video = *(*table)[0];
    video.m_nIdleInRanges = 3;
    video.m_pIdleInStart = std::vector<std::uint32_t>{96, 120, 124};
    video.m_pIdleInCount = std::vector<std::uint32_t>{16, 4, 4};
    main.SetSysDefTable(std::move(table));

    bool ok = true;
    {
        CSysDefDlg sysdef;
        ok = sysdef.Create(IDD_SYSDEF) && ok;
        sysdef.GetGrid()->UserClickCell(2, 1);
        ok = ok && Save(backend, sysdef, QDir(dir).filePath(QStringLiteral("134-filled.png")));
        sysdef.DestroyWindow();
    }
    {
        CIdleDlg idle(IDS_IDLE_INPUTS, main.GetSysDefTable()->front().get(), nullptr);
        ok = idle.Create(IDD_IDLE) && ok;
        ok = ok && Save(backend, idle, QDir(dir).filePath(QStringLiteral("137-filled.png")));
        idle.DestroyWindow();
    }
    {
        // The input remap table view over a single port and a whole board, one row marked red.
        main.Table(IoType::Input) = std::make_unique<RemapTable>();
        const auto entry = [](int origFirst, int origLast, int newFirst) {
            auto e = std::make_unique<CRemapEntry>();
            *e = CRemapEntry{"14:05:09",
                             "March 03 2002",
                             "MAIN",
                             "VIDEO",
                             0,
                             origFirst,
                             origLast,
                             newFirst,
                             newFirst + origLast - origFirst,
                             "card"};
            return e;
        };
        main.Table(IoType::Input)->push_back(entry(5, 5, 100));
        main.Table(IoType::Input)->push_back(entry(16, 31, 112));
        CRemapTableDlg view(IoType::Input, nullptr);
        ok = view.Create(IDD_REMAP_TABLE) && ok;
        view.GetGrid()->UserClickCell(3, 0);
        view.GetGrid()->UserClickCell(3, 0);
        view.GetGrid()->UserClickCell(5, 0);
        ok = ok && Save(backend, view, QDir(dir).filePath(QStringLiteral("141-filled.png")));
        view.DestroyWindow();
    }
    app.m_pMainWnd = nullptr;
    main.ReleaseData();
    return ok;
}

bool Render(fwqt::QtBackend& backend, int id, const QString& path, bool statusBar) {
    fw::CDialog dialog(id);
    if (!dialog.Create(id)) {
        std::fprintf(stderr, "tav-render: no dialog template %d\n", id);
        return false;
    }
    fw::CStatusBar status;
    if (statusBar) {
        const fw::UINT panes[] = {fw::ID_SEPARATOR, fw::ID_INDICATOR_CAPS, fw::ID_INDICATOR_NUM,
                                  fw::ID_INDICATOR_SCRL};
        status.Create(&dialog);
        status.SetIndicators(panes, 4);
    }
    dialog.ShowWindow(fw::SW_SHOW);
    QApplication::processEvents();
    QWidget* widget = backend.PeerWidget(dialog);
    if (widget == nullptr) {
        std::fprintf(stderr, "tav-render: template %d has no window\n", id);
        return false;
    }
    const QImage image = WithTitleStrip(widget->grab(), widget->windowTitle());
    dialog.DestroyWindow();
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "tav-render: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%d %s\n", id, qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        return RenderIcon(argv[2], QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    }
    const bool statusBar = argc == 4 && std::string(argv[1]) == "--status-bar";
    if (argc != 3 && !statusBar) {
        return Usage();
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_SCALE_FACTOR", "1");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    fwqt::QuietKnownWarnings();
    QApplication app(argc, argv);
    fw::InstallResources(&tav::TavResources());
    fwqt::QtBackend backend;
    fw::InstallBackend(&backend);

    const std::string first = argv[statusBar ? 2 : 1];
    const QString target = QString::fromLocal8Bit(argv[statusBar ? 3 : 2]);
    bool ok = true;
    if (first == "--filled") {
        ok = QDir().mkpath(target) && RenderFilled(backend, target);
    } else if (first == "--all") {
        if (!QDir().mkpath(target)) {
            std::fprintf(stderr, "tav-render: cannot create %s\n", qPrintable(target));
            return 1;
        }
        for (const auto& tmpl : tav::TavResources().dialogs) {
            const QString path = QDir(target).filePath(QStringLiteral("%1.png").arg(tmpl.id));
            ok = Render(backend, tmpl.id, path, statusBar) && ok;
        }
    } else {
        char* end = nullptr;
        const long id = std::strtol(first.c_str(), &end, 10);
        if (end == first.c_str() || *end != '\0') {
            return Usage();
        }
        ok = Render(backend, static_cast<int>(id), target, statusBar);
    }
    fw::InstallBackend(nullptr);
    return ok ? 0 : 1;
}
