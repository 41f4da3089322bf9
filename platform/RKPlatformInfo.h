// Stand-in for the platform's installation registry and instance services.
//
// Values live in plain text files under one root folder: the environment
// variable VSDK_REGISTRY_ROOT, else "/etc/vsdk/registry". Each instance has a
// folder, each section a file in it ("<root>/<instance>/<section>"), each
// value a line "<name> <value>" (blanks around the value do not count).
// Reads use the current focus: the instance set by RKPI_Focus::setFocus (a
// start-up sets it); while none is set, the instance the environment variable
// ORVANE_VM names when it is not empty (taken as a start-up takes it: the
// blanks at its end do not count), else the first line of "<root>/focus",
// else "Instance001". The variable and the file are looked at on every
// look-up. An absent value is told apart from 0.
//
// Values the stand-ins and the library read:
//   Mardock        sMardockHostName, sMardockClientName, UseSessionPool
//   Machine        sPhysicalMachine (default: the host name)
//   Base           dBASEHOME        (product base folder; default "<root>/<instance>/Home")
//   EventManager   dEVLOGDIR, nDebugLevel, nEnablePreInstallVCMD
//   ~EventManager  nVCommandTimeOut
//   Session        nPreferredIPFamily (0 any, 4, 6)
//   Network        nCmdLineServicePort (default 8401)
#pragma once

#include <iosfwd>
#include <string>

// The text forms of the registry files, readable from any stream.
namespace rkregistry {
// The value of the line "<name> <value>" in a section file (empty for a line
// that is the bare name); false when no line names it.
bool findValue(std::istream& in, const char* name, std::string& value);
// Decimal, or hexadecimal after "0x"; the whole value must be the number.
bool parseNumber(const std::string& text, long& out);
}  // namespace rkregistry

class RKPlatformInfo {
public:
    RKPlatformInfo() = default;

    // Non-zero when found; value is then set.
    int getNumber(const char* section, const char* name, long* value) const;
    // Overwrites *value only when the value is present; non-zero when found.
    int getRegInt(const char* section, const char* name, int* value) const;
    // Non-zero when found; out is then set.
    int getString(const char* section, const char* name, std::string& out) const;
    // Buffer forms. *length is in: the capacity of out, out: the length of the
    // value without its terminating zero. Zero (nothing written) when absent or
    // when the value and its zero do not fit.
    int getString(const char* section, const char* name, char* out, int* length) const;
    // Zero when absent or negative.
    int getNumber(const char* section, const char* name, unsigned long* value) const;

    // Reads of this object use the given instance instead of the current
    // focus (null: back to the current focus). The process's focus is left as
    // it is.
    void setFocus(const char* instance);

    // This machine's Mardock host and client names into buf (size bytes, zero
    // terminated); 0 = success, non-zero when absent (buf left empty).
    static int findMardockHostName(char* buf, int size);
    static int findMardockClientName(char* buf, int size);
    static int getMardockHostName(char* buf, int size);
    static std::string getPhysicalMachine();

    static std::string registryRoot();
    static std::string currentInstance();

    // Readers that keep a value read it again at most once a second, and at
    // their next use once this count has moved on: reload() (the registry
    // was changed) and every change of focus (see RKPI_Focus::changeCount)
    // move it.
    static unsigned long generation();
    static void reload();

private:
    std::string instance() const;
    std::string m_instance;  // empty: the current focus
};

class RKPI_Focus {
public:
    static void setFocus(const char* instance);
    // The current focus: the one set, else ORVANE_VM's, else the focus
    // file's (see above); null when there is none of them.
    static const char* getFocus();
    // How often the focus has changed: by setFocus, or, while none is set, by
    // a look-up that found another instance than the one before (ORVANE_VM or
    // the focus file changed). What was read for one focus is read again when
    // this has moved on.
    static unsigned long changeCount();
};

class RKPI_Session {
public:
    RKPI_Session(int, int) {}
    int GetPreferredIPFamily() const;
};

class RKPI_Base {
public:
    // The product base folder: "Base"/"dBASEHOME", else <root>/<instance>/Home.
    static std::string getOrvaneDirectory();
};

// Preferred address family for name resolution (0 any, 4, 6).
void PVNET_SetFamilyPreference(int family);
int PVNET_GetFamilyPreference();
