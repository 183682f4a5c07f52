// The program-wide parts of the window: the window icon set and the interface font.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QMenuBar>

#include "window/qt/application.h"
#include "window_rig.h"

using namespace lumera;
using namespace lumera::testing;

// A title bar asks for 16 or 32 pixels; it gets the picture drawn for that size, not the large
// one reduced.
TEST(WindowIcon, OffersEverySizeOfTheSetAsDrawn) {
    const QIcon icon = WindowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64}) EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    for (int size : {16, 32}) {
        const QImage drawn(QStringLiteral(":/icons/icon-%1.png").arg(size));
        ASSERT_FALSE(drawn.isNull()) << size;
        // Compared premultiplied, as a pixmap holds it.
        const QImage offered = icon.pixmap(QSize(size, size), 1.0).toImage();
        EXPECT_EQ(offered.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied)) << size;
    }
}

TEST(InterfaceFont, IsProportional) {
    EXPECT_FALSE(QFontInfo(QApplication::font()).fixedPitch()) << QFontInfo(QApplication::font()).family().toStdString();
    WindowRig rig;
    EXPECT_FALSE(QFontInfo(rig.form->menuBar()->font()).fixedPitch())
        << QFontInfo(rig.form->menuBar()->font()).family().toStdString();
    EXPECT_FALSE(QFontInfo(QApplication::font("QMessageBox")).fixedPitch());
}
