// What a converted book keeps on its pages: no character of its text is lost, and nothing
// a page shows is cut off.
#pragma once

#include "convert/cFB2WolConvertor.h"

// For a book the driver has converted (LoadBook, ConvertBook):
// - every visible character of the book's text (its bodies' text, and the text of each
//   note a link points to, without the note's title) is in the document the builder made
//   (the main document and every table cell in it, nested ones too), at least as often;
// - every visible character of that document is in a draw item that some page shows;
// - every draw item a page shows (text, picture, table, cell) lies whole inside the
//   page's text area, and a cell's content whole inside its cell's rectangle.
// The geometry is that of page painting: each page's draw items (a part of a split item
// where the page shows one), the rows of a table part with its repeated headings, each
// cell's printable copy placed in its cell by the cell's vertical alignment, or, for a
// cell the part cuts, the lines of the piece the table says the part shows. Spaces and
// invisible format characters (soft hyphens, zero-width spaces) are not counted. Each
// fault is a test failure naming the page, the document and the text; after 20 the rest
// are counted in one failure.
void ExpectEveryCharacterOnSomePage(const TFB2WolConvertor& driver);
