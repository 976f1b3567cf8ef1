// The start-up benchmark's baseline: the least a Qt 6 Widgets program does to show a dialog, built
// with the same flags as tavora and ending at the same point (TAVORA_BENCH_EXIT_AT_FIRST_WINDOW).
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/first_window_exit.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fwqt::ExitAtFirstWindowWhenAsked(app, "bare");
    QDialog dialog;
    dialog.setObjectName("bare");
    dialog.setWindowTitle("Bare dialog");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("A bare Qt 6 dialog.", &dialog));
    auto* close = new QPushButton("Close", &dialog);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    layout->addWidget(close);
    dialog.show();
    return app.exec();
}
