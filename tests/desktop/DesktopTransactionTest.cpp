#include "platform/desktop/DesktopTransaction.h"

#include <gtest/gtest.h>

#include "platform/Layer.h"

namespace {

// Layers report to the installed platform; these tests call the transaction directly.
class DesktopTransactionTest : public testing::Test {
protected:
    DesktopTransactionTest() {
        root->addSublayer(child);
        transaction.addTree(root.get(), [this] { ++redraws; });
    }

    desktop::DesktopTransaction transaction;
    std::shared_ptr<platform::Layer> root = platform::Layer::make();
    std::shared_ptr<platform::Layer> child = platform::Layer::make();
    int redraws = 0;
};

TEST_F(DesktopTransactionTest, AChangeOutsideATransactionRedrawsItsWindowAtOnce) {
    transaction.layerDidChange(*child, "frame");
    EXPECT_EQ(redraws, 1);
}

TEST_F(DesktopTransactionTest, ChangesInsideNestedTransactionsRedrawOnceAtTheOutermostCommit) {
    transaction.begin();
    transaction.setDisableActions(true);
    transaction.begin();
    EXPECT_TRUE(transaction.disableActions());  // an inner one starts with the outer's setting
    transaction.layerDidChange(*child, "frame");
    transaction.layerDidChange(*root, "cornerRadius");
    transaction.commit();
    EXPECT_EQ(redraws, 0);
    transaction.commit();
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(transaction.disableActions());
}

TEST_F(DesktopTransactionTest, LayersOfNoWindowAndRemovedWindowsRedrawNothing) {
    const auto loose = platform::Layer::make();
    transaction.layerDidChange(*loose, "frame");
    transaction.removeTree(root.get());
    transaction.layerDidChange(*child, "frame");
    EXPECT_EQ(redraws, 0);
    transaction.commit();  // a commit without a transaction is harmless
}

}  // namespace
