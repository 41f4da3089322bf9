/* The generic request: any request written as an XML document, sent to the
 * server service with the caller's session, and the reply document back. */
#ifndef VSDK_EXECUTE_H
#define VSDK_EXECUTE_H

#include "Common.h"

#include <string>
#include <vector>

/* One named option of a generic request. */
struct _optVal {
    std::string name;
    std::string value;
};

/* Input of VSDKQExecute. Only the XML request text is sent; the other members
 * keep their defaults. */
struct _QExecuteParams {
    std::string command;              /* command text */
    std::string xmlRequest;           /* the XML request document */
    std::vector<_optVal> options;     /* option list */
    bool flag = false;
    std::string secondText;
    int number = 0;                   /* 32-bit number; 0 = not given */
    std::string inputFormat;
    std::string outputFormat;
    std::string outputFile;
    std::string moreText;
};

/* Output of VSDKQExecute. */
struct _QExecuteInfo {
    std::string outputText;           /* the reply's XML document */
    long long errorValue = 0;         /* 64-bit value of the reply's error object */
};

/* Sends params->xmlRequest in the generic request and, on success, stores the
 * reply document in info->outputText. 0x303 when either pointer is null. */
VSDK_API unsigned long VSDKQExecute(_QExecuteParams* params, _QExecuteInfo* info);

#endif
