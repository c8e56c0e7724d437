// The exceptions of the DOM and their fixed messages.
#pragma once

#include "platform/base/Exception.h"

class EDomException : public Exception {
public:
  using Exception::Exception;
};

#define QF_DECLARE_DOM_EXCEPTION(Name)  \
  class Name : public EDomException {   \
  public:                               \
    using EDomException::EDomException; \
  }

QF_DECLARE_DOM_EXCEPTION(EIndex_Size_Err);
QF_DECLARE_DOM_EXCEPTION(EHierarchy_Request_Err);
QF_DECLARE_DOM_EXCEPTION(EWrong_Document_Err);
QF_DECLARE_DOM_EXCEPTION(EInvalid_Character_Err);
QF_DECLARE_DOM_EXCEPTION(ENo_Modification_Allowed_Err);
QF_DECLARE_DOM_EXCEPTION(ENot_Found_Err);
QF_DECLARE_DOM_EXCEPTION(ENot_Supported_Err);
QF_DECLARE_DOM_EXCEPTION(EInuse_Err);
QF_DECLARE_DOM_EXCEPTION(EInvalid_State_Err);
QF_DECLARE_DOM_EXCEPTION(ENamespace_Err);
QF_DECLARE_DOM_EXCEPTION(EWrong_DOM_Implementation_Err);

#undef QF_DECLARE_DOM_EXCEPTION

inline constexpr char SIndex_Size_Err[] = "Index size error.";
inline constexpr char SHierarchy_Request_Err[] = "Hierarchy request error.";
inline constexpr char SChildTypeNotAllowed[] = "Nodes of type %s are not allowed as children of nodes of type %s";
inline constexpr char SWrong_Document_Err[] = "Wrong document error.";
inline constexpr char SInvalid_Character_Err[] = "Invalid character error.";
inline constexpr char SNo_Modification_Allowed_Err[] = "No modification allowed error.";
inline constexpr char SNot_Found_Err[] = "Node not found error.";
inline constexpr char SNot_Supported_Err[] = "Not supported error.";
inline constexpr char SInuse_Node_Err[] = "Inuse node error.";
inline constexpr char SInuse_Attribute_Err[] = "Inuse attribute error.";
inline constexpr char SInvalid_State_Err[] = "Invalid state error.";
inline constexpr char SNamespace_Err[] = "Namespace error.";
inline constexpr char SWrong_DOM_Implementation_Err[] = "Wrong DOM implementation error.";

// Parsing ended: by a fatal error, an error handler's refusal or a broken handler chain.
class EParserException : public EDomException {
public:
  using EDomException::EDomException;
};

inline constexpr char SParserError[] = "Parser error.";
inline constexpr char SSignalProcessingException[] = "Signal Processing Exception";
inline constexpr char SInternalParserException[] = "Internal Parser Exception";
inline constexpr char SNonWellformedDtd[] = "Non-wellformed DTD.";
inline constexpr char SNonWellformedOrInvalidDtd[] = "Non-wellformed or invalid DTD.";
