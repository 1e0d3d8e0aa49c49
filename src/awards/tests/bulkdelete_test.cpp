// Deleting many QSOs in one pass (TQsoData::DeleteQsos) against deleting them
// one by one (DeleteQso, the award tables kept up QSO by QSO) and against a log
// that never held them: the same QSOs, orders and award tables.
#include "awardfixture.h"

#include "logstore/loggen.h"

#include <random>
#include <sstream>

namespace vellum::test {
namespace {

/// The records of a list in its order, each as its stored bytes and note.
template <typename List>
std::string listImage(const List &list)
{
    std::ostringstream out;
    std::array<std::uint8_t, QsoStoredSize> stored{};
    for (const TQsoRec *qso : list) {
        StoreQso(*qso, stored);
        out << std::string(stored.begin(), stored.end()) << '|' << qso->QsoNote.text() << '\n';
    }
    return out.str();
}

/// The master order, the call order and the browse order of a log.
std::string ordersImage(const TQsoData &log)
{
    return listImage(log) + "--\n" + listImage(log.ByCall()) + "--\n" + listImage(log.ViewIndex());
}

class BulkDeleteTest : public AwardTest {
protected:
    /// A generated log (the same every time), browsed in the Zone order, its award tables current.
    std::unique_ptr<TQsoData> generated()
    {
        auto made = std::make_unique<TQsoData>(log->Services());
        GeneratorOptions options;
        options.qsos = 3000;
        options.seed = 5;
        GenerateLog(*made, options);
        std::int32_t view = 0;
        made->SetSortKey(SortKey::Zone, view);
        model.EnsureAwardTables(*made);
        made->MarkSaved();
        return made;
    }

    /// Positions in master order of the QSOs to delete: about two in five at
    /// random, and every QSO of the log's first and last call.
    static std::vector<std::int32_t> doomedPositions(const TQsoData &of)
    {
        std::mt19937 random(17);
        std::vector<std::int32_t> positions;
        std::string_view first = of.ByCall().Get(0)->Call.view();
        std::string_view last = of.ByCall().Get(of.Count() - 1)->Call.view();
        for (std::int32_t i = 0; i < of.Count(); ++i) {
            std::string_view call = of.Get(i)->Call.view();
            if (random() % 5 < 2 || call == first || call == last)
                positions.push_back(i);
        }
        return positions;
    }

    /// The award blocks of a log as they stand (rebuilt only when not current).
    BlockSnapshot snapshotOf(std::unique_ptr<TQsoData> &of)
    {
        std::swap(log, of);
        model.EnsureAwardTables(*log);
        BlockSnapshot blocks = Snapshot();
        std::swap(log, of);
        return blocks;
    }
};

TEST_F(BulkDeleteTest, DeletingManyTogetherLeavesTheLogDeletingThemOneByOneLeaves)
{
    std::unique_ptr<TQsoData> oneByOne = generated();
    const std::vector<std::int32_t> positions = doomedPositions(*oneByOne);
    ASSERT_GT(positions.size(), 1000u);
    std::vector<TQsoRec *> victims;
    for (std::int32_t position : positions)
        victims.push_back(oneByOne->Get(position));
    for (TQsoRec *qso : victims)
        oneByOne->DeleteQso(qso);
    const BlockSnapshot keptUpQsoByQso = snapshotOf(oneByOne);
    ASSERT_FALSE(keptUpQsoByQso.empty());

    std::unique_ptr<TQsoData> together = generated();
    ASSERT_TRUE(together->AwardTablesValid());
    std::vector<TQsoRec *> doomed;
    for (std::int32_t position : positions)
        doomed.push_back(together->Get(position));
    doomed.push_back(doomed.front()); // named twice, deleted once
    TQsoRec stranger = *doomed.back();
    doomed.push_back(&stranger); // not a record of the log: left alone
    EXPECT_EQ(together->DeleteQsos(doomed), static_cast<std::int64_t>(positions.size()));
    EXPECT_TRUE(together->IsModified());
    EXPECT_FALSE(together->AwardTablesValid()) << "the tables are rebuilt, not updated QSO by QSO";

    EXPECT_EQ(together->Count(), oneByOne->Count());
    EXPECT_EQ(together->ByCall().Count(), together->Count());
    EXPECT_EQ(together->ViewIndex().Count(), together->Count());
    EXPECT_EQ(ordersImage(*together), ordersImage(*oneByOne));
    EXPECT_EQ(snapshotOf(together), keptUpQsoByQso);

    // A log that only ever held the QSOs left has the same award tables.
    auto kept = std::make_unique<TQsoData>(log->Services());
    for (const TQsoRec *qso : *together)
        kept->AddQso(std::make_unique<TQsoRec>(*qso));
    EXPECT_EQ(snapshotOf(kept), keptUpQsoByQso);
}

TEST_F(BulkDeleteTest, NothingOfTheLogNamedChangesNothing)
{
    std::unique_ptr<TQsoData> untouched = generated();
    const std::string before = ordersImage(*untouched);
    TQsoRec stranger = *untouched->Get(0);
    EXPECT_EQ(untouched->DeleteQsos({&stranger}), 0);
    EXPECT_EQ(untouched->DeleteQsos({}), 0);
    EXPECT_FALSE(untouched->IsModified());
    EXPECT_TRUE(untouched->AwardTablesValid());
    EXPECT_EQ(ordersImage(*untouched), before);
}

} // namespace
} // namespace vellum::test
