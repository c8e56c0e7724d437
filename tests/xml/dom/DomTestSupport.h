// A DOM implementation with one plain document, and small builders for tests.
#pragma once

#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include "xml/dom/DomImplementation.h"

struct TDomFixture {
  TDomImplementation Implementation{nullptr};
  TDomDocument* Document = NewDomDocument<TDomDocument>(Implementation);

  TDomElement* Element(WideStringView name) { return NewDomNode<TDomElement>(*Document, name); }
  TDomText* Text(WideStringView data) {
    TDomText* text = NewDomNode<TDomText>(*Document);
    text->SetData(data);
    return text;
  }
  TDomComment* Comment(WideStringView data) {
    TDomComment* comment = NewDomNode<TDomComment>(*Document);
    comment->SetData(data);
    return comment;
  }
  // <name>children</name> appended to parent.
  TDomElement* Child(TDomNode* parent, WideStringView name) {
    return static_cast<TDomElement*>(parent->AppendChild(Element(name)));
  }
};
