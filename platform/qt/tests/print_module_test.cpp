// Printing is a library of its own that the back end loads on first use: it is found, and what
// the back end hands out through it prints.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <string>

#include "platform/fw/printing.h"
#include "platform/qt/print_module.h"
#include "platform/qt/qt_backend.h"

namespace {

TEST(PrintModule, IsFoundAndTheBackEndsPrinterWritesThroughIt) {
    std::string error;
    const fwqt::PrintModule* module = fwqt::LoadPrintModule(&error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(fwqt::LoadPrintModule(nullptr), module) << "loaded once";
    ASSERT_NE(module->runPrintDialog, nullptr);
    ASSERT_NE(module->createPrinterDevice, nullptr);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fw::PrinterSettings settings;
    settings.outputFile = QDir(dir.path()).filePath(QStringLiteral("out.pdf")).toStdString();
    fwqt::QtBackend backend;
    const std::unique_ptr<fw::PrinterDevice> device = backend.CreatePrinterDevice(settings);
    ASSERT_NE(device, nullptr);
    EXPECT_GT(device->StartDoc("module"), 0);
    EXPECT_GT(device->StartPage(), 0);
    EXPECT_TRUE(device->TextOut(0, 0, "printed through the library"));
    EXPECT_GT(device->EndPage(), 0);
    EXPECT_GT(device->EndDoc(), 0);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(settings.outputFile)));
}

}  // namespace
