// The names of elements, attributes and values that the book model and the rich-text
// builder compare, in one place.
#pragma once

#include "platform/base/Types.h"

inline constexpr WideChar TagFictionBook[] = u"FictionBook";
inline constexpr WideChar TagFirstName[] = u"first-name";
inline constexpr WideChar TagMiddleName[] = u"middle-name";
inline constexpr WideChar TagLastName[] = u"last-name";
inline constexpr WideChar TagNickname[] = u"nickname";
inline constexpr WideChar TagBody[] = u"body";
inline constexpr WideChar TagBinary[] = u"binary";
inline constexpr WideChar TagImage[] = u"image";
inline constexpr WideChar TagEpigraph[] = u"epigraph";
inline constexpr WideChar TagSection[] = u"section";
inline constexpr WideChar TagTitle[] = u"title";
inline constexpr WideChar TagAnnotation[] = u"annotation";
inline constexpr WideChar TagP[] = u"p";
inline constexpr WideChar TagPoem[] = u"poem";
inline constexpr WideChar TagSubtitle[] = u"subtitle";
inline constexpr WideChar TagCite[] = u"cite";
inline constexpr WideChar TagEmptyLine[] = u"empty-line";
inline constexpr WideChar TagTable[] = u"table";
inline constexpr WideChar TagTr[] = u"tr";
inline constexpr WideChar TagTh[] = u"th";
inline constexpr WideChar TagTd[] = u"td";
inline constexpr WideChar TagTextAuthor[] = u"text-author";
inline constexpr WideChar TagStrong[] = u"strong";
inline constexpr WideChar TagEmphasis[] = u"emphasis";
inline constexpr WideChar TagStrikethrough[] = u"strikethrough";
inline constexpr WideChar TagSub[] = u"sub";
inline constexpr WideChar TagSup[] = u"sup";
inline constexpr WideChar TagCode[] = u"code";
inline constexpr WideChar TagStyle[] = u"style";
inline constexpr WideChar TagStanza[] = u"stanza";
inline constexpr WideChar TagDate[] = u"date";
inline constexpr WideChar TagV[] = u"v";
inline constexpr WideChar TagA[] = u"a";
inline constexpr WideChar AttrId[] = u"id";
inline constexpr WideChar AttrName[] = u"name";
inline constexpr WideChar AttrContentType[] = u"content-type";
inline constexpr WideChar AttrHrefSuffix[] = u":href";  // after the XLink prefix
inline constexpr WideChar AttrRowSpan[] = u"rowspan";
inline constexpr WideChar AttrColSpan[] = u"colspan";
inline constexpr WideChar AttrAlign[] = u"align";
inline constexpr WideChar ValueLeft[] = u"left";
inline constexpr WideChar ValueRight[] = u"right";
inline constexpr WideChar ValueCenter[] = u"center";
inline constexpr WideChar XLinkNamespace[] = u"http://www.w3.org/1999/xlink";
inline constexpr WideChar ValueNotes[] = u"Notes";
inline constexpr WideChar ContentTypeJpeg[] = u"image/jpeg";
inline constexpr WideChar ContentTypePng[] = u"image/png";
