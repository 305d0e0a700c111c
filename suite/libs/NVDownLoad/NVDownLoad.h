#pragma once
// The download library the module loads by name ("NVDownLoad.dll"). Each entry point answers
// non-zero for success (or "yes") and 0 otherwise; a failure leaves its reason, at most 255
// bytes and NUL-terminated, in the message buffer (256 bytes) when one is given.
//
// Sources are folders (or "file://" URLs of folders) that hold the zip archives; paths may be
// written with "\" as on the suite's machines.
#ifdef __cplusplus
extern "C" {
#endif

// Non-zero when the local file must be replaced: it is missing, or its modification time is
// older than the stamp. Stamps: "yyyy-mm-dd hh:nn:ss", "yyyy/mm/dd hh:nn:ss" (time optional),
// "yyyymmddhhnnss" or "yyyymmdd", in local time. A stamp that cannot be read answers 0.
int CompareFileToDown(const char* modifyStamp, const char* localFile);

// Copies the archive source to target (written under a temporary name in the target's folder,
// then renamed). mode, server, product, timeout and reserved are accepted and not used by a
// folder source. *result receives 1 on success, 0 on failure.
int NVDownLoadFileEx(int mode, const char* server, const char* product, const char* timeout,
                     const char* source, const char* target, unsigned short* result, char* message,
                     char* message2, int reserved);

// Unpacks every entry of the zip archive into the folder. All entries are first written under
// temporary names beside their targets and renamed only when every one was written, so a
// failed unpack leaves the old files as they were. Entries that would leave the folder
// (absolute names, "..") fail the unpack.
int UnZipFilesOrDir(const char* archive, const char* folder, char* message, char* message2);

#ifdef __cplusplus
}
#endif
