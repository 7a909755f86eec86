#!/usr/bin/env python3
"""Prints the interface IDs of the parameterized Windows Runtime interfaces
that src/watch/notification_abi.h declares, each with its signature.

With --check HEADER..., reads the IDs each header declares instead, in
Postlark's form, POSTLARK_ABI_IID(Name, d1, d2, d3, b0, ..., b7), or the
stand-in's, STAND_IN_IID(Name, "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx"), and
compares them: the parameterized ones with those computed here (each must be
declared), the others, where declared, with the values Microsoft's metadata
headers print. Exits 1 on any mismatch or missing one.

A parameterized interface has no IID of its own in the metadata: the Windows
Runtime derives one from the instance's type signature, as a name-based UUID
(version 5): SHA-1 over the pinterface namespace ID's 16 bytes followed by the
signature in UTF-8, its first 16 bytes taken as a big-endian UUID with the
version and variant bits set.
"""
import argparse
import hashlib
import re
import sys
import uuid

# The Windows Runtime's namespace for parameterized-type IIDs.
PINTERFACE_NAMESPACE = uuid.UUID("11f47ad5-7b73-42c0-abae-878b1e16adee")

# Generic types' own IDs (Windows.Foundation metadata).
ASYNC_OPERATION = "{9fc2b0bb-e446-44e2-aa61-9cab8f636af2}"
ASYNC_OPERATION_COMPLETED_HANDLER = "{fcdcf02c-e5d8-4478-915a-4d90b74b83a5}"
VECTOR_VIEW = "{bbe1fa4c-b0e3-4583-baef-1f1b2e483e56}"

# Type arguments: an enum by its name and underlying type, a runtime class by
# its name and its default interface's IID.
ACCESS_STATUS = "enum(Windows.UI.Notifications.Management.UserNotificationListenerAccessStatus;i4)"
USER_NOTIFICATION = "rc(Windows.UI.Notifications.UserNotification;{adf7e52f-4e53-42d5-9c33-eb5ea515b23e})"


def pinterface(generic, *arguments):
    return "pinterface(%s;%s)" % (generic, ";".join(arguments))


def iid(signature):
    digest = hashlib.sha1(PINTERFACE_NAMESPACE.bytes + signature.encode("utf-8")).digest()
    return uuid.UUID(bytes=digest[:16], version=5)


VECTOR_OF_NOTIFICATIONS = pinterface(VECTOR_VIEW, USER_NOTIFICATION)
SIGNATURES = [
    ("IAsyncOperation<UserNotificationListenerAccessStatus>", pinterface(ASYNC_OPERATION, ACCESS_STATUS)),
    ("AsyncOperationCompletedHandler<UserNotificationListenerAccessStatus>",
     pinterface(ASYNC_OPERATION_COMPLETED_HANDLER, ACCESS_STATUS)),
    ("IVectorView<UserNotification>", VECTOR_OF_NOTIFICATIONS),
    ("IAsyncOperation<IVectorView<UserNotification>>", pinterface(ASYNC_OPERATION, VECTOR_OF_NOTIFICATIONS)),
    ("AsyncOperationCompletedHandler<IVectorView<UserNotification>>",
     pinterface(ASYNC_OPERATION_COMPLETED_HANDLER, VECTOR_OF_NOTIFICATIONS)),
]

# The headers' names for the parameterized instances.
DECLARED_NAMES = {
    "IAccessStatusOperation": "IAsyncOperation<UserNotificationListenerAccessStatus>",
    "IAccessStatusHandler": "AsyncOperationCompletedHandler<UserNotificationListenerAccessStatus>",
    "IUserNotificationVectorView": "IVectorView<UserNotification>",
    "INotificationsOperation": "IAsyncOperation<IVectorView<UserNotification>>",
    "INotificationsHandler": "AsyncOperationCompletedHandler<IVectorView<UserNotification>>",
}

# The plain interfaces' IDs as microsoft/win32metadata prints them
# (generation/WinSDK/RecompiledIdlHeaders/winrt/), COM's own as mingw-w64 does.
PLAIN = {
    "IUnknown": "00000000-0000-0000-c000-000000000046",  # unknwn.h
    "IInspectable": "af86e2e0-b12d-4c6a-9c5a-d7aa65101e90",  # inspectable.h
    "IAgileObject": "94ea2b94-e9cc-49e0-c0ff-ee64ca8f5b90",  # objidl.h
    "IActivationFactory": "00000035-0000-0000-c000-000000000046",  # activation.h
    "IAsyncInfo": "00000036-0000-0000-c000-000000000046",  # asyncinfo.h
    "IAppDisplayInfo": "1aeb1103-e4d4-41aa-a4f6-c4a276e79eac",  # Windows.ApplicationModel.h
    "IAppInfo": "cf7f59b3-6a09-4de8-a6c0-5792d56880d1",  # Windows.ApplicationModel.h
    "IUserNotification": "adf7e52f-4e53-42d5-9c33-eb5ea515b23e",  # windows.ui.notifications.h
    "IUserNotificationListener": "62553e41-8a06-4cef-8215-6033a5be4b03",  # ...notifications.management.h
    "IUserNotificationListenerStatics": "ff6123cf-4386-4aa3-b73d-b804e5b63b23",  # ...notifications.management.h
}

DECLARATION = re.compile(r"\b(POSTLARK_ABI_IID|STAND_IN_IID)\s*\(([^()]*)\)")
NUMBER = r"(?:0[xX][0-9a-fA-F]+|[0-9]+)"


def declared(text):
    """The IDs a header declares, by name, with the names it declares twice."""
    found, twice = {}, []
    for macro, arguments in DECLARATION.findall(text):
        parts = [part.strip() for part in arguments.split(",")]
        name = parts[0]
        if macro == "POSTLARK_ABI_IID":
            if len(parts) != 12 or not all(re.fullmatch(NUMBER, part) for part in parts[1:]):
                continue  # the macro's own definition
            n = [int(part, 0) for part in parts[1:]]
            value = uuid.UUID(fields=(n[0], n[1], n[2], n[3], n[4], int.from_bytes(bytes(n[5:]), "big")))
        else:
            if len(parts) != 2 or not re.fullmatch(r'"[0-9a-fA-F-]{36}"', parts[1]):
                continue
            value = uuid.UUID(parts[1].strip('"'))
        if name in found:
            twice.append(name)
        found[name] = value
    return found, twice


def check(path):
    print(path)
    try:
        with open(path, encoding="utf-8") as header:
            found, twice = declared(header.read())
    except OSError as error:
        print("  UNREADABLE  %s" % error)
        return False
    failed = False
    for name in twice:
        print("  TWICE    %s" % name)
        failed = True
    computed = {label: iid(signature) for label, signature in SIGNATURES}
    for name, label in DECLARED_NAMES.items():
        expected = computed[label]
        if name not in found:
            print("  MISSING  %-34s want %s  %s" % (name, expected, label))
            failed = True
        elif found[name] != expected:
            print("  WRONG    %-34s has  %s, want %s  %s" % (name, found[name], expected, label))
            failed = True
        else:
            print("  ok       %-34s %s  %s" % (name, found[name], label))
    for name, text in PLAIN.items():
        expected = uuid.UUID(text)
        if name not in found:
            print("  -        %-34s not declared" % name)
        elif found[name] != expected:
            print("  WRONG    %-34s has  %s, want %s" % (name, found[name], expected))
            failed = True
        else:
            print("  ok       %-34s %s" % (name, found[name]))
    for name in sorted(set(found) - set(DECLARED_NAMES) - set(PLAIN)):
        print("  ?        %-34s %s  not checked" % (name, found[name]))
    return not failed


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", nargs="+", metavar="HEADER", help="compare the IDs these headers declare")
    arguments = parser.parse_args(argv)
    if arguments.check:
        results = [check(path) for path in arguments.check]
        return 0 if all(results) else 1
    for name, signature in SIGNATURES:
        print("%s  %s" % (iid(signature), name))
        print("    %s" % signature)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
