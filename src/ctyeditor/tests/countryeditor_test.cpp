// The country editor's commands on a copy of the default country data:
// moving, adding, updating and deleting countries with the renumbering of
// references, the working lists, the refusals, and the consistency check.

#include "ctyeditorfixture.h"

#include "ctyeditor/countrycheck.h"
#include "ctyeditor/countryeditor.h"

#include "logstore/daytime.h"

#include <algorithm>

namespace vellum {
namespace {

class CountryEditorTest : public test::DefaultCountryData {
protected:
    std::vector<std::string> texts(const MessageList &messages) const
    {
        std::vector<std::string> lines;
        for (const MessageLine &line : messages.Lines())
            lines.push_back(line.text);
        return lines;
    }
    bool hasLine(const MessageList &messages, const std::string &text) const
    {
        auto lines = texts(messages);
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
    /// The new country completed with a prefix and a name.
    CountryInfo completed(CountryEditor &editor, const std::string &prefix)
    {
        CountryInfo fields = editor.CurrentCountry();
        fields.prefix = prefix;
        fields.name = "Made up " + prefix;
        fields.cqZone = 14;
        fields.ituZone = 28;
        return fields;
    }
};

TEST_F(CountryEditorTest, MovingStaysWithinTheCountriesAndShowsTheirLists)
{
    CountryEditor editor(data);
    EXPECT_EQ(editor.Current(), 1) << "the editor starts with country 1";
    editor.Previous();
    EXPECT_EQ(editor.Current(), 1) << "entry 0 (no country) is never shown";
    editor.Last();
    EXPECT_EQ(editor.Current(), data.CountryCount() - 1);
    editor.Next();
    EXPECT_EQ(editor.Current(), data.CountryCount() - 1);

    editor.Show(country("DL"));
    ASSERT_FALSE(editor.Mappings().empty());
    for (const WorkMapping &row : editor.Mappings())
        EXPECT_TRUE(row.Own());
    EXPECT_TRUE(std::any_of(editor.Mappings().begin(), editor.Mappings().end(),
                            [](const WorkMapping &row) { return row.prefix == "DL" && row.endDate == 0xFFFF; }));
}

TEST_F(CountryEditorTest, RowsOfOtherCountriesWithTheSamePrefixAreReadOnly)
{
    // A dated mapping of "DA" for another country (say the German one of an earlier period).
    std::int32_t other = country("OE");
    data.Mappings.AddCopy(MappingInfo{"DA", static_cast<std::int16_t>(other), 14, 100, 200}.Encode().data());
    CountryEditor editor(data);
    editor.Show(country("DL"));
    auto rows = editor.Mappings();
    auto foreign = std::find_if(rows.begin(), rows.end(), [](const WorkMapping &row) { return !row.Own(); });
    ASSERT_NE(foreign, rows.end());
    EXPECT_EQ(foreign->prefix, "DA");
    EXPECT_EQ(foreign->otherCountry, "OE");
    int row = static_cast<int>(foreign - rows.begin());
    EXPECT_FALSE(editor.DeleteMappingRow(row)) << "a row of another country cannot be deleted";
    EXPECT_FALSE(editor.SetMapping(row, {"DA", 1, 0, 0xFFFF, {}}));

    // Deleting the own "DA" row takes the other country's row from the view too; Update keeps its mapping.
    int own = static_cast<int>(std::find_if(rows.begin(), rows.end(), [](const WorkMapping &r) {
                                   return r.Own() && r.prefix == "DA";
                               }) - rows.begin());
    ASSERT_TRUE(editor.DeleteMappingRow(own));
    EXPECT_TRUE(std::none_of(editor.Mappings().begin(), editor.Mappings().end(),
                             [](const WorkMapping &r) { return r.prefix == "DA"; }));
    ASSERT_TRUE(editor.UpdateMappings().done);
    auto owners = mappingOwners();
    EXPECT_EQ(owners.count("DA@0"), 0u);
    auto kept = owners.equal_range("DA@100");
    ASSERT_NE(kept.first, kept.second);
    EXPECT_EQ(kept.first->second, "OE");
}

TEST_F(CountryEditorTest, AddUpdateAndDeleteKeepEveryReferenceOnItsCountry)
{
    auto mappingsBefore = mappingOwners();
    auto callsBefore = callOwners();
    std::int32_t count = data.CountryCount();
    CountryEditor editor(data);

    ASSERT_TRUE(editor.AddCountry().done);
    EXPECT_EQ(data.CountryCount(), count + 1);
    CountryInfo added = editor.CurrentCountry();
    EXPECT_EQ(added.prefix, "ZZZZ");
    EXPECT_EQ(added.name, "New but incomplete!");
    EXPECT_EQ(added.endDate, 0xFFFF);
    EXPECT_EQ(added.buro, FlagNo);
    EXPECT_FALSE(editor.AddCountry().done) << "one incomplete country at a time";

    // Mappings and a call for it, then a prefix that sorts near the front: the
    // countries in between move up by one, its own references follow it.
    std::int32_t row = editor.AddMappingRow();
    ASSERT_TRUE(editor.SetMapping(row, {"QX7ABC", 14, 0, 0xFFFF, {}}));
    ASSERT_TRUE(editor.UpdateMappings().done);
    row = editor.AddCallRow();
    ASSERT_TRUE(editor.SetCall(row, {"qx7zz", 15, 0}));
    ASSERT_TRUE(editor.UpdateCalls().done);
    EXPECT_EQ(editor.Mappings().front().prefix, "QX7A") << "a mapping prefix is stored cut to 4";
    EXPECT_EQ(editor.Calls().front().call, "QX7ZZ");

    std::int32_t old = editor.Current();
    ASSERT_TRUE(editor.UpdateCountry(completed(editor, "1Q")).done);
    EXPECT_LT(editor.Current(), old);
    EXPECT_EQ(editor.CurrentCountry().prefix, "1Q");
    EXPECT_EQ(editor.CurrentCountry().name, "Made up 1Q");
    auto mappingsAfter = mappingOwners();
    auto callsAfter = callOwners();
    mappingsAfter.erase("QX7A@0");
    callsAfter.erase("QX7ZZ@0");
    EXPECT_EQ(mappingsAfter, mappingsBefore) << "every other mapping still names its country";
    EXPECT_EQ(callsAfter, callsBefore);
    EXPECT_EQ(mappingOwners().find("QX7A@0")->second, "1Q") << "its mapping followed it";
    EXPECT_EQ(callOwners().find("QX7ZZ@0")->second, "1Q");

    // Deleting it is refused while it has mappings and calls; without them the later countries move down.
    EditResult refused = editor.DeleteCountry();
    EXPECT_FALSE(refused.done);
    EXPECT_EQ(refused.message, "The country 1Q still has 1 mappings and 1 exception calls: delete them first");
    editor.DeleteMappingRow(0);
    editor.DeleteCallRow(0);
    ASSERT_TRUE(editor.UpdateMappings().done);
    ASSERT_TRUE(editor.UpdateCalls().done);
    std::int32_t at = editor.Current();
    ASSERT_TRUE(editor.DeleteCountry().done);
    EXPECT_EQ(data.CountryCount(), count);
    EXPECT_EQ(editor.Current(), at) << "the country that now has the index is shown";
    EXPECT_EQ(mappingOwners(), mappingsBefore);
    EXPECT_EQ(callOwners(), callsBefore);
    EXPECT_TRUE(editor.Changed());
    EXPECT_TRUE(data.CountryModified);
}

TEST_F(CountryEditorTest, UpdateKeepsTheAwardStatusBlock)
{
    CountryEditor editor(data);
    editor.Show(country("DL"));
    AwardStatusBlock *block = data.AwardStatusOf(editor.Current());
    (*block)[0] = 0x5A;
    CountryInfo fields = editor.CurrentCountry();
    fields.name = std::string(40, 'G');
    ASSERT_TRUE(editor.UpdateCountry(fields).done);
    EXPECT_EQ(editor.CurrentCountry().name, std::string(28, 'G')) << "a name is cut to 28 characters";
    EXPECT_EQ((*data.AwardStatusOf(editor.Current()))[0], 0x5A);
}

TEST_F(CountryEditorTest, EditsThatWouldBreakReferencesAreRefused)
{
    CountryEditor editor(data);
    editor.Show(country("DL"));
    CountryInfo valid = editor.CurrentCountry();
    struct Case {
        const char *what;
        std::function<void(CountryInfo &)> change;
        const char *message;
    };
    for (const Case &c : {Case{"dates", [](CountryInfo &f) { f.startDate = 200, f.endDate = 100; },
                               "The end date lies before the start date"},
                          Case{"CQ zone", [](CountryInfo &f) { f.cqZone = 41; }, "The CQ zone must lie between 1 and 40"},
                          Case{"ITU zone", [](CountryInfo &f) { f.ituZone = 0; }, "The ITU zone must lie between 1 and 90"},
                          Case{"prefix taken", [](CountryInfo &f) { f.prefix = "oe"; },
                               "The prefix oe is already used by another country"},
                          Case{"no prefix", [](CountryInfo &f) { f.prefix.clear(); }, "A country needs a prefix"}}) {
        SCOPED_TRACE(c.what);
        CountryInfo fields = valid;
        c.change(fields);
        EditResult result = editor.UpdateCountry(fields);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.message, c.message);
        EXPECT_EQ(editor.CurrentCountry().prefix, "DL");
    }
    EXPECT_FALSE(editor.Changed());

    std::int32_t row = editor.AddMappingRow();
    editor.SetMapping(row, {"DZZ", 0, 0, 0xFFFF, {}});
    EXPECT_EQ(editor.UpdateMappings().message, "The mapping DZZ needs a CQ zone between 1 and 40");
    editor.SetMapping(row, {"DZZ", 14, 300, 200, {}});
    EXPECT_EQ(editor.UpdateMappings().message, "The mapping DZZ ends before it starts");
    row = editor.AddCallRow();
    editor.SetCall(row, {"DL0XYZ", 99, 0});
    EXPECT_EQ(editor.UpdateCalls().message, "The call DL0XYZ needs a CQ zone between 1 and 40");
    EXPECT_EQ(mappingOwners().count("DZZ@0") + mappingOwners().count("DZZ@300"), 0u) << "nothing was written";
    EXPECT_FALSE(editor.Changed());
}

TEST_F(CountryEditorTest, CheckReportsEachKindOfProblemWithItsPrefixes)
{
    MessageList messages;
    std::size_t before = CheckCountryData(data, messages);
    EXPECT_EQ(texts(messages).back(), "End of error listing");

    // Two made-up countries at the end of the table: one with its dates out of
    // order, one valid from day 1000 to 30000 with mappings of its own.
    CountryEditor editor(data);
    ASSERT_TRUE(editor.AddCountry().done);
    CountryInfo fields = completed(editor, "ZZZX");
    fields.startDate = 1000;
    fields.endDate = 30000;
    ASSERT_TRUE(editor.UpdateCountry(fields).done);
    std::int32_t made = editor.Current();
    ASSERT_TRUE(editor.AddCountry().done);
    std::int32_t backwards = editor.Current();
    storeU16(data.Countries.Get(backwards) + CountryField::StartDate, 500);
    storeU16(data.Countries.Get(backwards) + CountryField::EndDate, 400);
    auto add = [&](const char *prefix, std::int32_t country, std::uint16_t start, std::uint16_t end) {
        data.Mappings.AddCopy(MappingInfo{prefix, static_cast<std::int16_t>(country), 15, start, end}.Encode().data());
    };
    add("QZ1", made, 900, 2000);     // starts before its country
    add("QZ1", made, 2000, 3000);    // touches the one before: no overlap
    add("QZ1", made, 2999, 40000);   // one common day with the one before; ends after its country
    add("QZ2", made, 5000, 4000);    // ends before it starts
    add("QZ3", 0, 0, 0xFFFF);        // no country
    std::size_t problems = CheckCountryData(data, messages);
    EXPECT_EQ(problems, before + 6);
    EXPECT_TRUE(hasLine(messages, "C-start > C-end ZZZZ           "));
    EXPECT_TRUE(hasLine(messages, "M-start < C-start ZZZX    QZ1    "));
    EXPECT_TRUE(hasLine(messages, "Overlap ZZZX    QZ1    "));
    EXPECT_TRUE(hasLine(messages, "M-end > C-end ZZZX    QZ1    "));
    EXPECT_TRUE(hasLine(messages, "M-start > M-end ZZZX    QZ2    "));
    std::int32_t entry = -1;
    for (std::int32_t i = 0; i < data.Mappings.Count(); ++i)
        if (MappingInfo::Decode(data.Mappings.Get(i)).prefix == "QZ3")
            entry = i;
    EXPECT_TRUE(hasLine(messages, "No country for " + std::to_string(entry) + "         QZ3    "));
    auto overlap = std::find_if(messages.Lines().begin(), messages.Lines().end(),
                                [](const MessageLine &line) { return line.text.starts_with("Overlap"); });
    EXPECT_EQ(overlap->country, made) << "a line knows the country and mapping it is about";
    EXPECT_EQ(overlap->mapping, "QZ1");
}

TEST(MessageListTest, KeepsTheNewestTenThousandLines)
{
    MessageList messages;
    for (int i = 0; i < 10005; ++i)
        messages.Add(std::to_string(i));
    EXPECT_EQ(messages.Count(), 10000u);
    EXPECT_EQ(messages.Dropped(), 5u);
    EXPECT_EQ(messages.Lines().front().text, "5");
    messages.Clear();
    EXPECT_EQ(messages.Dropped(), 0u);
}

} // namespace
} // namespace vellum
