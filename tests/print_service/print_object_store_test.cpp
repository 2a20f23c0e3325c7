#include "print_service/print_object_store.h"

#include "support/other_thread.h"

#include <dcmtk/dcmdata/dcdatset.h>
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcsequen.h>

#include <gtest/gtest.h>

namespace vantorel::print_service {
namespace {

PrintObject& add(PrintObjectStore& store, const std::string& uid, const std::string& cls = "1.2.3")
{
    PrintObject& object = store.newDataSet();
    object.attributes().putAndInsertString(DCM_SOPClassUID, cls.c_str());
    store.assignInstanceUid(object, uid);
    return object;
}

struct StoreFixture : ::testing::Test {
    StoreFixture()
    {
        store.addRemovalObserver([this](ObjectScope, const std::string& uid) { removed.push_back(uid); });
    }
    PrintObjectStore store;
    std::vector<std::string> removed;
};

TEST_F(StoreFixture, RemovesDescendantsFirstInListOrder)
{
    // session -> box1 (img1a, img1b), box2 (img2a)
    PrintObject& session = add(store, "session");
    PrintObject& box1 = add(store, "box1");
    PrintObject& box2 = add(store, "box2");
    add(store, "img1a");
    add(store, "img1b");
    add(store, "img2a");
    add(store, "printer");
    session.appendChild({"", "box1"});
    session.appendChild({"", "box2"});
    box1.appendChild({"", "img1a"});
    box1.appendChild({"", "img1b"});
    box2.appendChild({"", "img2a"});

    store.remove("any class", "session");

    EXPECT_EQ(removed, (std::vector<std::string>{"img1a", "img1b", "box1", "img2a", "box2", "session"}));
    EXPECT_EQ(store.instanceUids(), std::vector<std::string>{"printer"});
}

TEST_F(StoreFixture, PassesOverUnknownAndAlreadyRemovedObjects)
{
    PrintObject& session = add(store, "session");
    add(store, "box1");
    session.appendChild({"", "box1"});
    session.appendChild({"", "never-stored"});

    store.remove("", "unknown");
    EXPECT_TRUE(removed.empty());

    store.remove("", "box1");
    EXPECT_EQ(session.childObjects().size(), 2u);  // the parent still names it
    EXPECT_TRUE(store.children(session).empty());
    store.remove("", "session");
    EXPECT_EQ(removed, (std::vector<std::string>{"box1", "session"}));
    EXPECT_EQ(store.size(), 0u);
}

TEST_F(StoreFixture, RemovesEachObjectOnceWhenALinkMakesACycle)
{
    // A film box whose film session reference names itself, and a longer loop.
    PrintObject& box = add(store, "box");
    box.appendChild({"", "box"});
    PrintObject& a = add(store, "a");
    PrintObject& b = add(store, "b");
    a.appendChild({"", "b"});
    b.appendChild({"", "a"});
    b.appendChild({"", "a"});

    store.remove("", "box");
    store.remove("", "a");

    EXPECT_EQ(removed, (std::vector<std::string>{"box", "b", "a"}));
}

TEST_F(StoreFixture, RemovesAVeryLongChainWithoutExhaustingTheStack)
{
    const int length = 200000;
    for (int i = 0; i < length; ++i) {
        PrintObject& object = add(store, std::to_string(i));
        object.appendChild({"", std::to_string(i + 1)});
    }
    store.remove("", "0");
    EXPECT_EQ(store.size(), 0u);
    EXPECT_EQ(removed.front(), std::to_string(length - 1));
}

TEST_F(StoreFixture, FindsByInstanceUidOnlyAndIgnoresTheClass)
{
    add(store, "1.2.840.10008.5.1.1.17", "1.2.840.10008.5.1.1.16");
    ASSERT_NE(store.Dataset("1.2.840.10008.5.1.1.1", "1.2.840.10008.5.1.1.17"), nullptr);
    EXPECT_EQ(store.Dataset("1.2.840.10008.5.1.1.16", "1.2.840.10008.5.1.1.17 "), nullptr);
    EXPECT_EQ(store.Dataset("", "1.2.840.10008.5.1.1.1"), nullptr);
}

TEST_F(StoreFixture, UnnamedObjectsAreNotFoundAndASecondObjectWithAUidReplacesTheFirst)
{
    PrintObject& unnamed = store.newDataSet();
    EXPECT_EQ(store.Dataset("", ""), nullptr);
    EXPECT_EQ(store.size(), 0u);

    PrintObject& first = add(store, "dup");
    first.appendChild({"", "child"});
    add(store, "child");
    store.assignInstanceUid(unnamed, "dup");
    EXPECT_EQ(store.Dataset("", "dup"), &unnamed);
    EXPECT_EQ(removed, (std::vector<std::string>{"child", "dup"}));
    OFString uid;
    unnamed.attributes().findAndGetOFString(DCM_SOPInstanceUID, uid);
    EXPECT_EQ(uid, "dup");
}

TEST_F(StoreFixture, DatasetFromSequenceResolvesTheNthItemsReferencedInstance)
{
    add(store, "session");
    DcmSequenceOfItems sequence(DCM_ReferencedFilmSessionSequence);
    auto* named = new DcmItem;
    named->putAndInsertString(DCM_ReferencedSOPClassUID, "wrong class");
    named->putAndInsertString(DCM_ReferencedSOPInstanceUID, "session");
    auto* unnamed = new DcmItem;
    unnamed->putAndInsertString(DCM_ReferencedSOPClassUID, "1.2.840.10008.5.1.1.1");
    sequence.append(named);
    sequence.append(unnamed);

    struct Case {
        int n;
        bool found;
    };
    for (const Case c : {Case{1, true}, Case{2, false}, Case{3, false}, Case{0, false}, Case{-1, false}})
        EXPECT_EQ(store.datasetFromSequence(sequence, c.n) != nullptr, c.found) << "item " << c.n;
}

TEST(PrintObjectStoreDeathTest, OnlyTheThreadThatBuiltItMayUseIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    PrintObjectStore store;
    add(store, "1.2.3.4");
    EXPECT_DEATH(testing::onAnotherThread([&store] { store.Dataset({}, "1.2.3.4"); }),
                 std::string("PrintObjectStore ") + testing::offOwnerThread);
    EXPECT_NE(store.Dataset({}, "1.2.3.4"), nullptr);
}

}  // namespace
}  // namespace vantorel::print_service
