// The native document format as the documents reach it (IRPFDocumentFormat): the writer
// (RPFDocumentWriter.h), the reader (RPFDocumentReader.h) and the data property of table
// cells.
//
// The interchange library's start-up installs it (RPInterchangeStartup.h) before main()
// of every program that links the library.
// It makes items by their style numbers and pictures by their class names, which the
// rich-text model's start-up registers (RPModelStartup.h).
#pragma once

// Installs the format for every document of the process, and the writer through which
// copying puts the native format on the clipboard (again: nothing changes).
void RegisterRPFDocumentFormat();
