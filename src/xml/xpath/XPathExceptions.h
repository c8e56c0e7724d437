// The exceptions of the XPath engine and their fixed messages. Texts with "%s" or "%S"
// are filled in with Format.
#pragma once

#include "xml/dom/DomExceptions.h"

class EXPath_Exception : public EDomException {
public:
  using EDomException::EDomException;
};

class EXPath_Invalid_Expression_Err : public EXPath_Exception {
public:
  using EXPath_Exception::EXPath_Exception;
};
class EXPath_Invalid_Function_Call_Err : public EXPath_Exception {
public:
  using EXPath_Exception::EXPath_Exception;
};
class EXPath_Type_Err : public EXPath_Exception {
public:
  using EXPath_Exception::EXPath_Exception;
};

inline constexpr char SXPathVersionNotSupported[] = "XPath version \"%S\" not supproted.";  // spelled so
inline constexpr char SXPath_Type_Err[] = "XPath type error.";
inline constexpr char SNoValidXPathExpression[] = "No valid XPath expression prepared.";
inline constexpr char SNamespaceUriOfPrefixNotFound[] = "Namespace URI of prefix '%S' not found.";
inline constexpr char SNoBindingForVariable[] = "No binding for variable $%s provided.";
inline constexpr char SUnknownFunctionName[] = "Unknown function name.";
// Guards of our own against untrusted expressions (XPathLimits.h).
inline constexpr char SXPathNestedTooDeeply[] = "XPath expression nested too deeply.";
inline constexpr char SXPathWorkBudgetExceeded[] = "XPath evaluation exceeded its work budget.";

// Raised by the core functions as EXPath_Invalid_Function_Call_Err, with the function's
// name in place of %s.
inline constexpr char SArgumentsMismatch[] = "Arguments mismatch error in %s().";
inline constexpr char SArgumentNotNodeSet[] =
    "Argument mismatch error in %s(): Expression does not evaluate to node-set.";
inline constexpr char SArgumentNotString[] = "Argument mismatch error in %s(): Expression does not evaluate to string.";
inline constexpr char SArgumentNotBoolean[] =
    "Argument mismatch error in %s(): Expression does not evaluate to boolean.";
inline constexpr char SArgumentNotNumber[] = "Argument mismatch error in %s(): Expression does not evaluate to number.";
inline constexpr char SArgumentNotANumber[] =
    "Argument mismatch error in %s(): Expression does not evaluate to a number.";
inline constexpr char SContextNodeNotSpecified[] = "Context node not specified for %s().";
inline constexpr char SContextNodeWithoutDocument[] = "Context node with no owner document specified for %s().";
inline constexpr char SInvalidContextSize[] = "Invalid context size.";
inline constexpr char SInvalidContextPosition[] = "Invalid context position.";
