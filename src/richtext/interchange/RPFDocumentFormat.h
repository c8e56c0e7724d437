// The native document format as the documents reach it (IRPFDocumentFormat): the writer
// (RPFDocumentWriter.h), the reader (RPFDocumentReader.h) and the data property of table
// cells.
//
// The program installs it once at start-up, after registering the item classes; until
// then documents cannot be written or read in the native format.
#pragma once

// Installs the format for every document of the process, and the writer through which
// copying puts the native format on the clipboard (again: nothing changes).
void RegisterRPFDocumentFormat();
