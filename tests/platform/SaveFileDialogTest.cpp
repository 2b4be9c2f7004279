// The save dialog as the user sees it, whatever the machine's locale (the tests run under C).
#include "harness/TestEnv.h"
#include "platform/SaveFileDialog.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QTest>
#include <QTreeView>

using namespace platform;

class SaveFileDialogTest : public VerbantoTest {};

TEST_F(SaveFileDialogTest, TheFileListWritesDatesAndSizesInItalian)
{
    QFile file(Folder() + "/verbale.csv");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(1536, 'x'));
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 12, 24), QTime(10, 30)), QFileDevice::FileModificationTime));
    file.close();

    const auto dialog = SaveFileDialog::Build(nullptr, "File CSV|*.csv");
    EXPECT_EQ(dialog->windowTitle(), "Salva con nome");
    EXPECT_EQ(dialog->nameFilters(), QStringList({"File CSV (*.csv)"}));
    dialog->setDirectory(Folder());
    dialog->show();
    // The detail view's row of the file, once the dialog has read the folder.
    const auto* view = dialog->findChild<QTreeView*>("treeView");
    ASSERT_NE(view, nullptr);
    const auto cell = [&](int column) {
        const QAbstractItemModel* m = view->model();
        for (int r = 0; r < m->rowCount(view->rootIndex()); ++r)
            if (m->index(r, 0, view->rootIndex()).data().toString() == "verbale.csv")
                return m->index(r, column, view->rootIndex()).data().toString();
        return QString();
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return !cell(3).isEmpty(); }, 10000));
    EXPECT_EQ(cell(3), "24/12/25 10:30");
    EXPECT_EQ(cell(1), "1,50 KiB");
    dialog->reject();
}
