#!/usr/bin/env python3
"""Prints the interface IDs of the parameterized Windows Runtime interfaces
that src/watch/notification_abi.h declares, each with its signature.

A parameterized interface has no IID of its own in the metadata: the Windows
Runtime derives one from the instance's type signature, as a name-based UUID
(version 5): SHA-1 over the pinterface namespace ID's 16 bytes followed by the
signature in UTF-8, its first 16 bytes taken as a big-endian UUID with the
version and variant bits set.
"""
import hashlib
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

if __name__ == "__main__":
    for name, signature in SIGNATURES:
        print("%s  %s" % (iid(signature), name))
        print("    %s" % signature)
