/* The packet layout for the fields the includer names in PACKETDATA, before
 * including this file. Fields appear in the order of their PK_ bits; only
 * absolute mode (every PACKETMODE bit clear) is described. */
#ifndef ZEFA_PKTDEF_H
#define ZEFA_PKTDEF_H

#include "wintab.h"

#ifndef PACKETDATA
#error "define PACKETDATA before including pktdef.h"
#endif
#if PACKETDATA & PK_ROTATION
#error "rotation is not described here"
#endif
#if defined(PACKETMODE) && PACKETMODE != 0
#error "only absolute packet mode is described here"
#endif

typedef struct tagPACKET
{
#if PACKETDATA & PK_CONTEXT
    HCTX pkContext;
#endif
#if PACKETDATA & PK_STATUS
    UINT pkStatus;
#endif
#if PACKETDATA & PK_TIME
    DWORD pkTime;
#endif
#if PACKETDATA & PK_CHANGED
    WTPKT pkChanged;
#endif
#if PACKETDATA & PK_SERIAL_NUMBER
    UINT pkSerialNumber;
#endif
#if PACKETDATA & PK_CURSOR
    UINT pkCursor;
#endif
#if PACKETDATA & PK_BUTTONS
    DWORD pkButtons;
#endif
#if PACKETDATA & PK_X
    LONG pkX;
#endif
#if PACKETDATA & PK_Y
    LONG pkY;
#endif
#if PACKETDATA & PK_Z
    LONG pkZ;
#endif
#if PACKETDATA & PK_NORMAL_PRESSURE
    UINT pkNormalPressure;
#endif
#if PACKETDATA & PK_TANGENT_PRESSURE
    UINT pkTangentPressure;
#endif
#if PACKETDATA & PK_ORIENTATION
    ORIENTATION pkOrientation;
#endif
} PACKET, *PPACKET, *NPPACKET, *LPPACKET;

#endif
