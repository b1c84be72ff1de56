// The Model's store layout, tables and internal-node filter.
#include "model/Model.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

TEST(Model, StoreHas33ColumnsOfTheRightTypesInOrder)
{
    Model model;
    ASSERT_EQ(model.store->get_n_columns(), 33);
    EXPECT_EQ(model.store->get_column_type(0), G_TYPE_BOOLEAN);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(model.store->get_column_type(i), G_TYPE_STRING) << i;
    EXPECT_EQ(model.store->get_column_type(10), G_TYPE_UINT);
    EXPECT_EQ(model.store->get_column_type(11), G_TYPE_UINT);
    for (int i = 12; i < 33; ++i)
        EXPECT_EQ(model.store->get_column_type(i), G_TYPE_BOOLEAN) << i;

    EXPECT_EQ(model.name.index(), 1);
    EXPECT_EQ(model.value.index(), 8);
    EXPECT_EQ(model.fullName.index(), 9);
    EXPECT_EQ(model.typeCode.index(), 11);
    EXPECT_EQ(model.RD.index(), 12);
    EXPECT_EQ(model.SKIP.index(), 32);
    for (std::size_t i = 0; i < model.columnTable.size(); ++i)
        EXPECT_EQ(model.columnTable[i].column.index(), static_cast<int>(i) + 2);
    for (std::size_t i = 0; i < model.flagTable.size(); ++i)
        EXPECT_EQ(model.flagTable[i].column.index(), static_cast<int>(i) + 12);

    EXPECT_EQ(model.store->children().size(), 0u);
    EXPECT_EQ(model.filter->children().size(), 0u);
    EXPECT_EQ(model.sorted->children().size(), 0u);
    EXPECT_EQ(model.sortedModel(), model.sorted);
}

TEST(Model, CombinedFlagRowsAreUnionsOfSingleFlags)
{
    Model model;
    std::map<std::string, uint32_t> mask;
    for (const auto &entry : model.flagTable)
        mask[entry.name] = entry.flag;
    EXPECT_EQ(mask["RW"], mask["RD"] | mask["WR"]);
    EXPECT_EQ(mask["RDTUN"], mask["RD"] | mask["TUN"]);
    EXPECT_EQ(mask["RWTUN"], mask["RW"] | mask["TUN"]);
    EXPECT_EQ(mask["CAPRW"], mask["CAPRD"] | mask["CAPWR"]);
    int shownByDefault = 0;
    for (const auto &entry : model.flagTable)
        shownByDefault += entry.visibleByDefault;
    EXPECT_EQ(shownByDefault, 13);
}

class ModelFilter : public ::testing::Test {
protected:
    Model model;

    Gtk::TreeModel::Row addRow(const Glib::ustring &fullName, bool internal,
                               const Gtk::TreeModel::Row *parent = nullptr)
    {
        auto row = parent ? *model.store->append(parent->children()) : *model.store->append();
        row[model.internal] = internal;
        row[model.fullName] = fullName;
        return row;
    }

    std::set<Glib::ustring> sortedNames()
    {
        std::set<Glib::ustring> names;
        model.sorted->foreach_iter([&](const Gtk::TreeModel::iterator &it) {
            names.insert((*it)[model.fullName]);
            return false;
        });
        return names;
    }
};

TEST_F(ModelFilter, InternalSubtreeHiddenUntilToggled)
{
    auto sysctl = addRow("sysctl", true);
    addRow("sysctl.name", true, &sysctl);
    auto kern = addRow("kern", false);
    addRow("kern.ostype", false, &kern);

    EXPECT_EQ(sortedNames(), (std::set<Glib::ustring>{"kern", "kern.ostype"}));
    model.toggleInternal();
    EXPECT_TRUE(model.showInternal);
    EXPECT_EQ(sortedNames(),
              (std::set<Glib::ustring>{"kern", "kern.ostype", "sysctl", "sysctl.name"}));
    model.toggleInternal();
    EXPECT_EQ(sortedNames(), (std::set<Glib::ustring>{"kern", "kern.ostype"}));
}

TEST_F(ModelFilter, RowFollowsItsInternalColumnWhenItChanges)
{
    auto row = addRow("odd", false);
    EXPECT_EQ(sortedNames().count("odd"), 1u);
    row[model.internal] = true;
    EXPECT_EQ(sortedNames().count("odd"), 0u);
}

TEST(ModelLifetime, FilterOutlivingTheModelDoesNotReachIt)
{
    Glib::RefPtr<Gtk::TreeModelFilter> filter;
    Glib::RefPtr<Gtk::TreeStore> store;
    {
        Model model;
        filter = model.filter;
        store = model.store;
        auto row = *store->append();
        row[model.internal] = true;
    }
    // The store changes after the Model is gone: the filter must not call into it.
    store->append();
    filter->refilter();
    EXPECT_EQ(filter->children().size(), 0u);
}

}  // namespace
