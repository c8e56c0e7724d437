// The native document format as the documents reach it (IRPFDocumentFormat): the writer
// (RPFDocumentWriter.h), the reader (RPFDocumentReader.h) and the data property of table
// cells.
//
// The edit library's start-up installs it (RPStartup.h), a program without that library
// once at start-up; until then documents cannot be written or read in the native format.
// It makes items by their style numbers and pictures by their class names, which the
// rich-text model's start-up registers (RPModelStartup.h).
#pragma once

// Installs the format for every document of the process, and the writer through which
// copying puts the native format on the clipboard (again: nothing changes).
void RegisterRPFDocumentFormat();
