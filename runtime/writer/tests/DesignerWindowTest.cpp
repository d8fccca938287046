#include "runtime/writer/ui/DesignerWindow.h"
#include "runtime/writer/ui/DesignCanvas.h"

#include "runtime/ScriptedPicker.h"
#include "runtime/ScriptedPrompter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace qaveq;
using namespace qaveq::writer;

namespace {

Catalogue catalogue()
{
    QString error;
    return Catalogue::parse(u"@ProcessedFiles|1|0|PrintThingsFM||'Thing'|2|-1|Thing||Thing ID|5|2|"
                            "THG:ThingID|@s10|Amount|5|2|THG:Amount|@n-15.2|@Others|1|0| ||@Data|"
                            "2|-1| ||Company Name|5|2|CompanyName|@s50|"_s,
                            &error)
        .value();
}

class DesignerWindowTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    ScriptedPrompter prompter;
    ScriptedFileChooser files;
    int previews = 0;
    DesignerWindow window{
        catalogue(),
        ReportDocument::blank(u"PrintThingsFM"_s, u"New report"_s, u"Thing"_s),
        QString(),
        {prompter, files, [this](const ReportDocument &) { ++previews; }, folder.path()}};

    int detailBand() const
    {
        const auto &bands = window.model().document().bands;
        for (std::size_t i = 0; i < bands.size(); ++i)
            if (bands[i].kind == BandKind::Detail)
                return int(i);
        return -1;
    }

    // A field dragged from the tree and let go over the canvas.
    void drop(const QString &field, QPoint at)
    {
        QMimeData data;
        data.setData(QString::fromLatin1(DesignCanvas::FieldMimeType), field.toUtf8());
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.canvas(), &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.canvas(), &event);
    }

    const ReportObject *object(int index = 0) const
    {
        const auto &objects = window.model().document().bands[std::size_t(detailBand())].objects;
        return index < int(objects.size()) ? &objects[std::size_t(index)] : nullptr;
    }
};

TEST_F(DesignerWindowTest, DropMoveUndoSaveAndReload)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The tree offers the catalogue's files and fields to drag.
    ASSERT_EQ(window.tree()->topLevelItemCount(), 2);
    EXPECT_EQ(window.tree()->topLevelItem(0)->child(1)->data(0, Qt::UserRole).toString(),
              u"THG:Amount");

    DesignCanvas *canvas = window.canvas();
    const int detail = detailBand();
    const QPoint target = canvas->fromBand(detail, QPointF(1200, 30));
    drop(u"THG:Amount"_s, target);
    ASSERT_TRUE(object());
    EXPECT_EQ(object()->field, u"THG:Amount");
    EXPECT_EQ(object()->rect.topLeft(), QPointF(1200, 0));

    // Arrow keys move it a grid step; dragging with the mouse moves it too.
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Right);
    EXPECT_EQ(object()->rect.x(), 1260);
    const QPoint inside = canvas->fromBand(detail, object()->rect.center());
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseMove(canvas, inside + QPoint(int(240 * DesignCanvas::Scale), 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier,
                        inside + QPoint(int(240 * DesignCanvas::Scale), 0));
    EXPECT_EQ(object()->rect.x(), 1500);

    // Undo takes back the drag, then the key.
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(object()->rect.x(), 1260);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(object()->rect.x(), 1200);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(object()->rect.x(), 1260);

    // Saved under a name of the user's choice, with the extension added.
    files.answerNext(folder.filePath(u"things"_s));
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.path(), folder.filePath(u"things.qvr"_s));
    EXPECT_FALSE(window.model().isModified());
    QString error;
    const std::optional<ReportDocument> saved = ReportDocument::load(window.path(), &error);
    ASSERT_TRUE(saved) << error.toStdString();
    EXPECT_EQ(saved->toJson(), window.model().document().toJson());

    // Changed again and the other report opened: asked to save first; No
    // keeps the file as it was, then the file is read back in.
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_Delete);
    EXPECT_FALSE(object());
    prompter.answerNext(2);
    files.answerNext(window.path());
    EXPECT_TRUE(window.openReport());
    ASSERT_TRUE(object());
    EXPECT_EQ(object()->rect.x(), 1260);
    EXPECT_FALSE(window.model().canUndo());

    // Preview hands over the report as it stands.
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(previews, 1);
}

TEST_F(DesignerWindowTest, AReportOfAnotherTypeIsNotOpened)
{
    ReportDocument other = ReportDocument::blank(u"PrintOtherFM"_s, u"Other"_s, u"Thing"_s);
    QString error;
    ASSERT_TRUE(other.save(folder.filePath(u"other.qvr"_s), &error));
    files.answerNext(folder.filePath(u"other.qvr"_s));
    EXPECT_FALSE(window.openReport());
    ASSERT_EQ(prompter.shown().size(), 1);
    EXPECT_TRUE(prompter.shown().at(0).text.contains(u"\"PrintOtherFM\""_s));
    EXPECT_EQ(window.model().document().type, u"PrintThingsFM");
}

} // namespace
