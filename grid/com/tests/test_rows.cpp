// Row strings, tags, the shared cursor and the change tracking, through
// the vtable of a control made by DllGetClassObject.
#include "GridDll.h"

namespace quor {

TEST_F(GridTest, NewControlIsEmpty)
{
    EXPECT_EQ(0, rowCount());
    LONG columns = -1;
    EXPECT_EQ(S_OK, grid->getNumberOfColumns(&columns));
    EXPECT_EQ(0, columns);
    HRESULT hr;
    nextRow(&hr);
    EXPECT_EQ(S_FALSE, hr);
}

TEST_F(GridTest, CellsAreReadByIndex)
{
    headings(L"A|B|C");
    append(L"a||c");
    append(L"a|b|");
    HRESULT hr;
    EXPECT_EQ(L"", cell(1, 1, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(L"c", cell(1, 2, &hr));
    EXPECT_EQ(L"", cell(2, 2, &hr));
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(L"", cell(2, 5, &hr));
    EXPECT_EQ(E_FAIL, hr);
    EXPECT_EQ(L"", cell(2, -1, &hr));
    EXPECT_EQ(E_FAIL, hr);
    cell(0, 0, &hr);
    EXPECT_EQ(S_FALSE, hr);
    cell(3, 0, &hr);
    EXPECT_EQ(S_FALSE, hr);
}

TEST_F(GridTest, OnlyCellOfOneColumnGridAlwaysReads)
{
    headings(L"Only");
    append(L"");
    HRESULT hr;
    EXPECT_EQ(L"", cell(1, 0, &hr));
    EXPECT_EQ(S_OK, hr);
}

TEST_F(GridTest, HeadingsAreReadInSequence)
{
    EXPECT_EQ(S_OK, headings(L"Property  |Value  |Units |Note   "));
    LONG columns = 0;
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(4, columns);
    Bstr heading;
    grid->getColumnHeading(0, heading.out());
    EXPECT_EQ(L"Property  ", heading.text());
    grid->getColumnHeading(3, heading.out());
    EXPECT_EQ(L"Note   ", heading.text());

    headings(L"A|B|");
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(2, columns);
    headings(L"|A");
    grid->getNumberOfColumns(&columns);
    EXPECT_EQ(2, columns);
    grid->getColumnHeading(1, heading.out());
    EXPECT_EQ(L"A", heading.text());
}

TEST_F(GridTest, TagsMatchWithoutCaseAndFirstWins)
{
    append(L"one", L"Tag");
    append(L"two", L"tag");
    Bstr row;
    EXPECT_EQ(S_OK, grid->getRow(Bstr(L"TAG"), row.out()));
    EXPECT_EQ(L"one", row.text());
    EXPECT_EQ(S_FALSE, grid->getRow(Bstr(L"none"), row.out()));
    ASSERT_FALSE(row.isNull());
    EXPECT_EQ(L"", row.text());

    EXPECT_EQ(S_OK, grid->deleteRow(Bstr(L"T" L"AG"), VARIANT_TRUE));
    EXPECT_EQ(L"two", allRows());
    EXPECT_EQ(S_FALSE, grid->deleteRow(nullptr, VARIANT_TRUE));
    EXPECT_EQ(S_FALSE, grid->deleteRow(Bstr(L"none"), VARIANT_TRUE));
}

TEST_F(GridTest, TagTextByIndex)
{
    append(L"r1", L"first");
    append(L"r2", L"second");
    Bstr tag;
    EXPECT_EQ(S_OK, grid->getTagText(1, tag.out()));
    EXPECT_EQ(L"second", tag.text());
    EXPECT_EQ(E_POINTER, grid->getTagText(-1, tag.out()));
    EXPECT_EQ(E_POINTER, grid->getTagText(0, nullptr));
    EXPECT_EQ(S_FALSE, grid->getTagText(2, tag.out()));
    EXPECT_EQ(S_OK, grid->setTagText(0, Bstr(L"renamed")));
    EXPECT_EQ(S_FALSE, grid->setTagText(2, Bstr(L"x")));
    Bstr row;
    grid->getRow(Bstr(L"RENAMED"), row.out());
    EXPECT_EQ(L"r1", row.text());
}

TEST_F(GridTest, LookupsMoveTheSharedCursor)
{
    for (const wchar_t* row : {L"1", L"2", L"3", L"4", L"5", L"6", L"7"})
        append(row);
    grid->resetToFirstRow();
    EXPECT_EQ(L"1", nextRow());
    cell(5, 0);
    EXPECT_EQ(L"6", nextRow());
    Bstr tag;
    grid->getTagText(1, tag.out());
    EXPECT_EQ(L"3", nextRow());
    grid->resetToFirstSelectedRow();
    EXPECT_EQ(L"1", nextRow());
}

TEST_F(GridTest, HiddenRowsStillCount)
{
    append(L"a");
    append(L"b");
    EXPECT_EQ(S_OK, grid->setRowVisibility(0, VARIANT_FALSE));
    EXPECT_EQ(S_FALSE, grid->setRowVisibility(2, VARIANT_FALSE));
    EXPECT_EQ(2, rowCount());
    EXPECT_EQ(L"a/b", allRows());
}

TEST_F(GridTest, EditedMarkFollowsAppendAndUpdate)
{
    append(L"x|y", L"t", VARIANT_TRUE);
    append(L"", L"empty", VARIANT_TRUE);
    append(L"p|q", L"u", 1);  // only exactly -1 counts as TRUE
    EXPECT_EQ(1, editedCount());

    Bstr row, tag;
    LONG index = -5;
    grid->resetToFirstEditedRow();
    EXPECT_EQ(S_OK, grid->getNextEditedRow(row.out(), tag.out(), &index));
    EXPECT_EQ(L"x|y", row.text());
    EXPECT_EQ(L"t", tag.text());
    EXPECT_EQ(0, index);
    EXPECT_EQ(S_FALSE, grid->getNextEditedRow(row.out(), tag.out(), &index));
    EXPECT_EQ(L"", row.text());
    EXPECT_EQ(E_POINTER, grid->getNextEditedRow(row.out(), nullptr, &index));

    EXPECT_EQ(S_OK, grid->updateRow(Bstr(L"x|z"), Bstr(L"T"), VARIANT_FALSE, VARIANT_FALSE));
    EXPECT_EQ(0, editedCount());
    grid->getRow(Bstr(L"t"), row.out());
    EXPECT_EQ(L"x|z", row.text());
    EXPECT_EQ(S_OK, grid->markRowAsEdited(Bstr(L"U")));
    EXPECT_EQ(S_FALSE, grid->markRowAsEdited(Bstr(L"none")));
    EXPECT_EQ(1, editedCount());
    grid->resetAllEditedRows();
    EXPECT_EQ(0, editedCount());
}

TEST_F(GridTest, EditedIterationReportsPositionsAndContinues)
{
    append(L"a", L"", VARIANT_FALSE);
    append(L"b", L"", VARIANT_TRUE);
    append(L"c", L"", VARIANT_FALSE);
    append(L"d", L"", VARIANT_TRUE);
    Bstr row, tag;
    LONG index = -1;
    grid->resetToFirstEditedRow();
    ASSERT_EQ(S_OK, grid->getNextEditedRow(row.out(), tag.out(), &index));
    EXPECT_EQ(1, index);
    ASSERT_EQ(S_OK, grid->getNextEditedRow(row.out(), tag.out(), &index));
    EXPECT_EQ(L"d", row.text());
    EXPECT_EQ(3, index);
}

TEST_F(GridTest, UpdateOfUnknownTagAppends)
{
    EXPECT_EQ(S_OK, grid->updateRow(Bstr(L"new"), Bstr(L"k"), VARIANT_TRUE, VARIANT_TRUE));
    EXPECT_EQ(1, rowCount());
    EXPECT_EQ(1, editedCount());
}

TEST_F(GridTest, DeletedRowsAreKeptInOrderOfRemoval)
{
    append(L"a", L"ta");
    append(L"b", L"tb");
    append(L"c", L"tc");
    grid->deleteRow(Bstr(L"tb"), VARIANT_TRUE);
    grid->deleteRow(Bstr(L"tc"), VARIANT_FALSE);
    grid->deleteRow(Bstr(L"ta"), 5);  // any nonzero value keeps it

    Bstr row, tag;
    grid->resetToFirstDeletedRow();
    EXPECT_EQ(S_OK, grid->getNextDeletedRow(row.out(), tag.out()));
    EXPECT_EQ(L"b", row.text());
    EXPECT_EQ(L"tb", tag.text());
    // Counting reports nothing and leaves the deleted rows and their cursor
    // where they were.
    EXPECT_EQ(S_OK, grid->getNumberOfDeletedRows());
    EXPECT_EQ(S_OK, grid->getNextDeletedRow(row.out(), tag.out()));
    EXPECT_EQ(L"a", row.text());
    EXPECT_EQ(S_FALSE, grid->getNextDeletedRow(row.out(), tag.out()));
    ASSERT_FALSE(row.isNull());
    ASSERT_FALSE(tag.isNull());
    EXPECT_EQ(L"", row.text());
    EXPECT_EQ(L"", tag.text());
    EXPECT_EQ(E_POINTER, grid->getNextDeletedRow(nullptr, tag.out()));

    grid->resetAllDeletedRows();
    grid->resetToFirstDeletedRow();
    EXPECT_EQ(S_FALSE, grid->getNextDeletedRow(row.out(), tag.out()));
}

TEST_F(GridTest, DeleteAllMovesEveryRowToDeleted)
{
    append(L"a", L"1");
    append(L"b", L"2");
    EXPECT_EQ(S_OK, grid->deleteAllRows(VARIANT_TRUE));
    EXPECT_EQ(0, rowCount());
    HRESULT hr;
    grid->resetToFirstRow();
    nextRow(&hr);
    EXPECT_EQ(S_FALSE, hr);
    Bstr row, tag;
    grid->resetToFirstDeletedRow();
    grid->getNextDeletedRow(row.out(), tag.out());
    EXPECT_EQ(L"a", row.text());
    grid->getNextDeletedRow(row.out(), tag.out());
    EXPECT_EQ(L"b", row.text());
    EXPECT_EQ(S_OK, grid->deleteAllRows(VARIANT_FALSE));

    // The page cycle: the lists reuse their nodes, the rows stay right.
    for (int page = 0; page < 3; ++page) {
        grid->deleteAllRows(VARIANT_FALSE);
        append(L"p");
        append(L"q");
        grid->resetAllDeletedRows();
    }
    EXPECT_EQ(L"p/q", allRows());
}

TEST_F(GridTest, BlankRowsHaveOneCellPerColumn)
{
    headings(L"A|B|C");
    EXPECT_EQ(S_OK, grid->appendBlankRows(2));
    EXPECT_EQ(S_OK, grid->appendBlankRows(-3));
    EXPECT_EQ(L"||/||", allRows());
    headings(L"Only");
    grid->deleteAllRows(VARIANT_FALSE);
    grid->appendBlankRows(1);
    EXPECT_EQ(L" ", allRows());
}

TEST_F(GridTest, NullOutPointersAreRefused)
{
    EXPECT_EQ(E_POINTER, grid->getNextRow(nullptr));
    EXPECT_EQ(E_POINTER, grid->getNumberOfSelectedRows(nullptr));
    EXPECT_EQ(E_POINTER, grid->getNextSelectedRow(nullptr));
    EXPECT_EQ(E_POINTER, grid->getNumberOfRows(nullptr));
    EXPECT_EQ(E_POINTER, grid->getCellText(1, 0, nullptr));
    EXPECT_EQ(E_POINTER, grid->getRow(Bstr(L"x"), nullptr));
    EXPECT_EQ(E_POINTER, grid->setGridFont(nullptr));
}

TEST_F(GridTest, RowColorNeedsARow)
{
    append(L"a");
    EXPECT_EQ(S_OK, grid->SetRowColor(1, RGB(255, 0, 0)));
    EXPECT_EQ(S_FALSE, grid->SetRowColor(2, RGB(255, 0, 0)));
}

TEST_F(GridTest, AnsiTextRoundTrips)
{
    append(L"caf\u00e9|\u00fcber");
    EXPECT_EQ(L"\u00fcber", cell(1, 1));
}

TEST_F(GridTest, BlankRowsBeyondMemoryAreRefusedAtOnce)
{
    headings(L"A|B|C");
    ASSERT_EQ(S_OK, grid->appendBlankRows(2));
    // More than memory holds, and more than the row numbers hold.
    EXPECT_EQ(S_FALSE, grid->appendBlankRows(INT_MAX - 10));
    EXPECT_EQ(S_FALSE, grid->appendBlankRows(INT_MAX));
    LONG count = 0;
    grid->getNumberOfRows(&count);
    EXPECT_EQ(2, count);
    EXPECT_EQ(S_OK, grid->appendBlankRows(1));
    EXPECT_EQ(L"||/||/||", allRows());
}

}  // namespace quor
