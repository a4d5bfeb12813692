"""Handlers for the aiosmtpd server of the network tests."""

import asyncio


class Stalling:
    """Takes the whole message and then never answers it, as a server that hangs does."""

    async def handle_DATA(self, server, session, envelope):
        await asyncio.sleep(3600)
        return "250 OK"
