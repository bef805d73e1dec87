"""libtessel: Python access to the host's virtual-switch control plane.

The module ``_libtessel`` is re-exported as it is (functions, constants and
``cvar``); this package adds the proxy classes of the host records and a few
Pythonic helpers (``switch_names``, ``switch_info``, ``switch_summaries``,
``ports``, ``port_info``, ``mac_table`` and their summaries).
"""

import _libtessel
from _libtessel import *  # noqa: F401,F403  (functions and constants)
from _libtessel import cvar  # noqa: F401

from libtessel._proxy import build_proxies as _build_proxies

globals().update(_build_proxies(__name__))

from libtessel.switches import (  # noqa: E402
    HostError,
    SwitchSummary,
    switch_aliases,
    switch_info,
    switch_names,
    switch_summaries,
)

from libtessel.ports import (  # noqa: E402
    MacEntrySummary,
    PortSummary,
    clear_static_mac,
    mac_summaries,
    mac_table,
    port_info,
    port_mac_table,
    port_summaries,
    ports,
    set_static_mac,
)

__all__ = [
    "MacEntrySummary",
    "PortSummary",
    "clear_static_mac",
    "mac_summaries",
    "mac_table",
    "port_info",
    "port_mac_table",
    "port_summaries",
    "ports",
    "set_static_mac",
    "HostError",
    "SwitchSummary",
    "switch_aliases",
    "switch_info",
    "switch_names",
    "switch_summaries",
]
