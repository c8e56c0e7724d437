#include "fb2/cFictionBook2.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/TempFolder.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PilPeer.h"
#include "unicode/UniClasses.h"
#include "xml/dom/DomDocument.h"
#include "xml/dom/DomExceptions.h"

namespace {

const std::string DataDir = QF_TEST_DATA_DIR "/fb2/";

void LoadBytes(TFictionBook2& book, const std::string& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  book.LoadFromStream(stream);
}

void LoadFixture(TFictionBook2& book, const std::string& name) { LoadBytes(book, ReadBytes(DataDir + name)); }

// The element found by a path from the root; fails the test when there is none.
const TDomElement* At(const TFictionBook2& book, WideStringView path) {
  const TDomNode* node = TXML::FindElementByPath(book.Root(), path);
  EXPECT_NE(node, nullptr);
  return static_cast<const TDomElement*>(node);
}

// The first element of that name in document order below the node, or nil.
const TDomElement* FindById(const TDomNode* top, WideStringView id) {
  for (const TDomNode* node = top; node != nullptr; node = static_cast<const TDomNode*>(NextInSubtree(top, node)))
    if (TXML::GetNodeKind(node) == 0 && TXML::GetAttributeValue(node, u"id") == id)
      return static_cast<const TDomElement*>(node);
  return nullptr;
}

class FictionBook2 : public ::testing::Test {
protected:
  void SetUp() override { LoadFixture(Book, "book-utf8-bom.fb2"); }
  TFictionBook2 Book;
};

}  // namespace

TEST_F(FictionBook2, ReadsEveryMetadataField) {
  EXPECT_EQ(Book.GetBookTitle(), u" Stars & Lines ");  // text content, untrimmed
  EXPECT_EQ(Book.GetAuthors(), u"Anna B. Carr, Dee");  // the translator between them does not interrupt
  EXPECT_EQ(Book.GetTranslators(), u"Tr");
  EXPECT_EQ(Book.GetGenres(), u"Space SF, Poetry");  // the unknown code adds nothing
  EXPECT_EQ(Book.GetPublisher(), u"North Press");
  EXPECT_EQ(Book.GetYear(), u"2021");
  EXPECT_EQ(Book.GetISBN(), u"978-0-00-000000-0");
  // Paragraphs collapsed (the CDATA section is text), the empty line, the verse; the
  // comment is gone.
  EXPECT_EQ(Book.GetAnnotation(), u"First para here\r\n\r\nVerse one\r\nLast <p>\r\n");
}

TEST_F(FictionBook2, IndexesBodiesNotesBinariesAndSections) {
  ASSERT_EQ(Book.GetBodyCount(), 2);
  EXPECT_EQ(TXML::GetAttributeValue(Book.GetBody(1)->FindFirstChildElement(u"section"), u"id"), u"");
  EXPECT_EQ(Book.GetBody(0)->FindFirstChildElement(u"section"), FindById(Book.Root(), u"s1"));
  ASSERT_NE(Book.NotesBody(), nullptr);
  EXPECT_EQ(TXML::GetAttributeValue(Book.NotesBody(), u"name"), u"notes");
  EXPECT_EQ(Book.XLinkPrefix(), u"l");
  // s1, its subsection, the deep one, "Two", and the second body's: the section inside
  // the cite and the notes' sections are not counted.
  EXPECT_EQ(Book.SectionCount(), 5);
  EXPECT_EQ(Book.CountSections(), 5);
  try {
    Book.GetBody(2);
    FAIL() << "no third body";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }

  TMemoryStream data;
  WideString contentType;
  // Ids ignore case, and the first of equal ids is kept ("Cover.JPG" is ignored).
  ASSERT_TRUE(Book.GetBinaryData(u"COVER.JPG", data, contentType));
  EXPECT_EQ(contentType, u"image/jpeg");
  EXPECT_GT(data.Size(), 100);
  EXPECT_EQ(static_cast<const uint8_t*>(data.Memory())[0], 0xFF);
  TMemoryStream none;
  contentType = u"left over";
  EXPECT_FALSE(Book.GetBinaryData(u"missing", none, contentType));
  EXPECT_EQ(contentType, u"");
  EXPECT_EQ(none.Size(), 0);
  EXPECT_FALSE(Book.GetBinaryData(u"badb64", none, contentType));
  EXPECT_EQ(contentType, u"image/jpeg");  // given even when decoding fails
}

TEST_F(FictionBook2, AnswersLinksNotesTitlesLevelsAndTables) {
  const TDomElement* paragraph = At(Book, u"body/section/p");
  const TDomElement* noteLink = paragraph->FindFirstChildElement(u"a");
  const TDomElement* paragraphLink = noteLink->FindNextSiblingElement(u"a");
  const TDomElement* webLink = paragraphLink->FindNextSiblingElement(u"a");
  EXPECT_EQ(Book.GetLocalHref(noteLink), u"n1");
  EXPECT_EQ(Book.GetLocalHref(webLink), u"");
  EXPECT_EQ(Book.GetLocalHref(paragraph), u"");
  EXPECT_EQ(Book.GetLocalHref(nullptr), u"");
  EXPECT_EQ(Book.FindNoteElement(noteLink), FindById(Book.NotesBody(), u"n1"));
  EXPECT_EQ(Book.FindNoteElement(paragraphLink), FindById(Book.NotesBody(), u"n2p"));  // "#N2P": case ignored
  EXPECT_EQ(Book.FindNoteElement(webLink), nullptr);

  EXPECT_EQ(TFictionBook2::GetParagraphsText(At(Book, u"body/section/title")), u"Chapter One two");
  EXPECT_EQ(TFictionBook2::GetParagraphsText(At(Book, u"body/title")), u"Stars");
  // The deep paragraph: its section (titled), the untitled one, s1 (titled).
  EXPECT_EQ(TFictionBook2::GetSectionLevel(FindById(Book.Root(), u"deep")), 2);
  EXPECT_EQ(TFictionBook2::GetSectionLevel(At(Book, u"body/section/section/p")), 1);
  EXPECT_EQ(TFictionBook2::GetSectionLevel(At(Book, u"body/title")), 0);

  // Rows: th 2 + td = 3; colspan 0 counts 1 and 5000 is clamped to 1000 ("TD" is not a
  // cell); "x" counts 1 and " 2" (a leading blank) counts 2.
  int32_t rows = -1, columns = -1;
  EXPECT_TRUE(Book.GetTableSize(At(Book, u"body/section/table"), rows, columns));
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(columns, 1001);
  Book.Limits.MaxColSpan = 10;
  EXPECT_TRUE(Book.GetTableSize(At(Book, u"body/section/table"), rows, columns));
  EXPECT_EQ(columns, 11);
  EXPECT_FALSE(Book.GetTableSize(At(Book, u"body/section/p"), rows, columns));
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(columns, 0);
}

TEST_F(FictionBook2, DecodesPicturesAsThePeerDoesAndFitsThem) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  for (const char* id : {"cover.jpg", "pic.png"}) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(
        RunPeerScript("fb2/book_image_peer.py", {"binary", DataDir + "book-utf8-bom.fb2", id, folder / "peer.raw"}));
    const TRawImage expected = ReadRawImage(folder / "peer.raw");
    TBitmap bitmap;
    ASSERT_TRUE(Book.LoadBinaryImage(WideString(id, id + std::char_traits<char>::length(id)), bitmap, 0, 0, false, 0));
    ASSERT_EQ(bitmap.Width(), expected.Width);
    ASSERT_EQ(bitmap.Height(), expected.Height);
    for (int32_t y = 0; y < bitmap.Height(); ++y)
      for (int32_t x = 0; x < bitmap.Width(); ++x) {
        const uint8_t* peer = expected.Bytes.data() + (static_cast<size_t>(y) * expected.Width + x) * 3;
        ASSERT_EQ(bitmap.PixelColor(x, y), static_cast<TColor>(peer[0] | (peer[1] << 8) | (peer[2] << 16)))
            << x << "," << y;
      }
  }
  // The cover (24 x 32) fitted into 12 x 12 and reduced to four grays; the first image
  // of the cover page is the one used.
  TBitmap cover;
  ASSERT_TRUE(Book.LoadCoverImage(cover, 12, 12, false, 2));
  EXPECT_EQ(cover.Width(), 9);
  EXPECT_EQ(cover.Height(), 12);
  EXPECT_EQ(cover.PixelFormat(), pf24bit);
  ASSERT_TRUE(Book.LoadCoverImage(cover, 48, 48, true, 1));
  EXPECT_EQ(cover.Width(), 36);
  EXPECT_EQ(cover.Height(), 48);
  EXPECT_EQ(cover.PixelFormat(), pf1bit);
}

TEST_F(FictionBook2, PicturesThatCannotBeHadLeaveTheBitmapAlone) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetSize(5, 4);
  for (const char16_t* id : {u"missing", u"badb64", u"anim.gif", u""}) {
    SCOPED_TRACE(std::u16string(id).size());
    EXPECT_FALSE(Book.LoadBinaryImage(id, bitmap, 100, 100, true, 1));
  }
  EXPECT_THROW(Book.LoadBinaryImage(u"broken.jpg", bitmap, 100, 100, true, 1), EJPEG);
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
}

TEST(FictionBook2Windows1251, ReadsCyrillicMetadataANotesBodyAndAPngCover) {
  TFictionBook2 book;
  LoadFixture(book, "book-cp1251.fb2");
  EXPECT_EQ(book.GetAuthors(), u"Лев Николаевич Толстой");
  EXPECT_EQ(book.GetBookTitle(), u"Война и мир");
  EXPECT_EQ(book.GetGenres(), u"Russial classics prose");
  EXPECT_EQ(book.GetPublisher(), u"Издательство «Ёлка»");
  EXPECT_EQ(book.GetYear(), u"1869");
  EXPECT_EQ(book.GetISBN(), u"");
  EXPECT_EQ(book.GetTranslators(), u"");
  EXPECT_EQ(book.GetAnnotation(), u"Роман-эпопея\r\n");
  EXPECT_EQ(book.XLinkPrefix(), u"xlink");                                  // the namespace written in capitals
  EXPECT_EQ(book.GetBodyCount(), 1);                                        // "notes" and "NOTES" are both notes bodies
  EXPECT_EQ(TXML::GetAttributeValue(book.NotesBody(), u"name"), u"NOTES");  // the later one
  const TDomElement* link = At(book, u"body/section/p")->FindFirstChildElement(u"a");
  EXPECT_EQ(book.FindNoteElement(link), FindById(book.NotesBody(), u"СНОСКА"));
  TBitmap cover;
  ASSERT_TRUE(book.LoadCoverImage(cover, 0, 0, false, 0));  // the id "обложка.png"
  EXPECT_EQ(cover.Width(), 10);
  EXPECT_EQ(cover.Height(), 6);
}

TEST(FictionBook2Bare, AnswersEmptyForWhatIsMissing) {
  TFictionBook2 book;
  LoadFixture(book, "book-bare.fb2");
  for (const WideString& value : {book.GetBookTitle(), book.GetAuthors(), book.GetTranslators(), book.GetGenres(),
                                  book.GetPublisher(), book.GetYear(), book.GetISBN(), book.GetAnnotation()})
    EXPECT_EQ(value, u"");
  EXPECT_EQ(book.NotesBody(), nullptr);
  EXPECT_EQ(book.XLinkPrefix(), u"");  // declared on an inner element only
  const TDomElement* link = At(book, u"body/section/p/a");
  EXPECT_EQ(book.GetLocalHref(link), u"");  // ":href" is looked up, "l:href" is not it
  EXPECT_EQ(book.FindNoteElement(link), nullptr);
  TBitmap cover;
  EXPECT_FALSE(book.LoadCoverImage(cover, 10, 10, false, 0));
  EXPECT_EQ(book.SectionCount(), 1);
}

TEST(FictionBook2Errors, BadInputRaisesAndLeavesTheModelEmpty) {
  const struct {
    const char* Name;
    std::string Bytes;
    const char* Message;
  } cases[] = {
      {"not XML", "This is not XML at all", "Parser error."},
      {"empty", "", "Parser error."},
      {"cut short", "<?xml version=\"1.0\"?><FictionBook><body>", "Parser error."},
      {"another document", "<html><body/></html>", "The document has no \"FictionBook\" root element"},
      {"root in other case", "<fictionbook><body/></fictionbook>", "The document has no \"FictionBook\" root element"},
      {"xlink prefix no name", "<FictionBook a:b:c=\"http://www.w3.org/1999/xlink\"/>", "Invalid character error."},
  };
  TFictionBook2 book;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    LoadFixture(book, "book-utf8-bom.fb2");
    ASSERT_EQ(book.GetBodyCount(), 2);
    try {
      LoadBytes(book, c.Bytes);
      ADD_FAILURE() << "loaded";
    } catch (const Exception& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    EXPECT_EQ(book.Document(), nullptr);
    EXPECT_EQ(book.Root(), nullptr);
    EXPECT_EQ(book.GetBodyCount(), 0);
    EXPECT_EQ(book.NotesBody(), nullptr);
    EXPECT_EQ(book.XLinkPrefix(), u"");
    EXPECT_EQ(book.GetBookTitle(), u"");
    TMemoryStream data;
    WideString contentType;
    EXPECT_FALSE(book.GetBinaryData(u"cover.jpg", data, contentType));
    EXPECT_EQ(book.Implementation().GetDocuments()->GetLength(), 0);
  }
  // The same object loads the next book.
  LoadFixture(book, "book-cp1251.fb2");
  EXPECT_EQ(book.GetBookTitle(), u"Война и мир");
  EXPECT_EQ(book.Implementation().GetDocuments()->GetLength(), 1);
}

TEST(FictionBook2Reload, EachLoadReplacesTheLastBook) {
  TFictionBook2 book;
  LoadFixture(book, "book-utf8-bom.fb2");
  LoadFixture(book, "book-bare.fb2");
  EXPECT_EQ(book.GetBodyCount(), 1);
  EXPECT_EQ(book.SectionCount(), 1);
  EXPECT_EQ(book.NotesBody(), nullptr);
  TMemoryStream data;
  WideString contentType;
  EXPECT_FALSE(book.GetBinaryData(u"cover.jpg", data, contentType));
  EXPECT_EQ(book.Implementation().GetDocuments()->GetLength(), 1);
  book.Clear();
  EXPECT_EQ(book.Root(), nullptr);
  EXPECT_EQ(book.Document(), nullptr);
  EXPECT_EQ(book.Implementation().GetDocuments()->GetLength(), 0);
}
