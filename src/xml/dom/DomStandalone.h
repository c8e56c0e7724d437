// The standalone value of a document's XML declaration: "yes", "no", or none given.
// The input source reads it, the document keeps it.
#pragma once

enum TDomStandalone { sdYes, sdNo, sdUnspecified };
