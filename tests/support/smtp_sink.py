#!/usr/bin/python3
"""An SMTP sink for the tests: keeps every letter it receives.

Each letter becomes one JSON file in --outdir (0001.json, 0002.json, ...)
holding the envelope, the AUTH mechanism and user, whether the session ran
over TLS, and the letter's bytes in base64. Once it listens it prints
"PORT <n>" on its standard output.

--tls none|implicit|starttls   (starttls: STARTTLS is required)
--auth none|basic              (basic: AUTH is required, --user/--password)
NTLM is always offered beside LOGIN and PLAIN, so the tests see which
mechanism the client picks; its handshake is checked for form and the user
name is taken from the client's final message.
--stall                        greets, then never answers again
--data-delay SECONDS           takes that long to accept each letter
Recipients containing "reject" are refused with 550.
"""
import argparse
import asyncio
import base64
import json
import os
import ssl
import struct
import sys

from aiosmtpd.smtp import SMTP, AuthResult


class Handler:
    def __init__(self, outdir, data_delay=0.0):
        self.outdir = outdir
        self.count = 0
        self.data_delay = data_delay

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "reject" in address:
            return "550 5.1.1 Recipient refused"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if self.data_delay:
            await asyncio.sleep(self.data_delay)
        self.count += 1
        transport = server.transport
        tls = session.ssl is not None or (
            transport is not None and transport.get_extra_info("ssl_object") is not None)
        record = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "auth_mechanism": getattr(session, "sink_mechanism", None),
            "auth_user": getattr(session, "sink_user", None),
            "tls": bool(tls),
            "data": base64.b64encode(envelope.original_content or envelope.content or b"").decode(),
        }
        name = os.path.join(self.outdir, "%04d.json" % self.count)
        with open(name + ".tmp", "w") as f:
            json.dump(record, f)
        os.rename(name + ".tmp", name)
        return "250 OK"

    async def auth_NTLM(self, server, args):
        # Type 1 from the client, a type 2 challenge from us, type 3 back.
        if len(args) > 1:
            type1 = base64.b64decode(args[1])
        else:
            type1 = await server.challenge_auth(b"", encode_to_b64=False)
        if not isinstance(type1, bytes) or type1[:8] != b"NTLMSSP\0" or struct.unpack("<I", type1[8:12])[0] != 1:
            return AuthResult(success=False)
        flags = 0x00000001 | 0x00000200 | 0x00008000  # unicode, NTLM, always sign
        type2 = b"NTLMSSP\0" + struct.pack("<I", 2) + struct.pack("<HHI", 0, 0, 48) + struct.pack("<I", flags)
        type2 += b"\x01\x23\x45\x67\x89\xab\xcd\xef" + b"\0" * 8 + struct.pack("<HHI", 0, 0, 48)
        type3 = await server.challenge_auth(type2)
        if not isinstance(type3, bytes) or type3[:8] != b"NTLMSSP\0" or struct.unpack("<I", type3[8:12])[0] != 3:
            return AuthResult(success=False)
        length, _, offset = struct.unpack("<HHI", type3[36:44])
        user = type3[offset:offset + length].decode("utf-16-le", "replace")
        server.session.sink_mechanism = "NTLM"
        server.session.sink_user = user
        return AuthResult(success=True, auth_data=user)


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        login = auth_data.login.decode("utf-8", "replace")
        if login != user or auth_data.password.decode("utf-8", "replace") != password:
            return AuthResult(success=False, handled=False)
        session.sink_mechanism = mechanism
        session.sink_user = login
        return AuthResult(success=True)
    return authenticate


async def stall(reader, writer):
    writer.write(b"220 localhost ESMTP\r\n")
    await writer.drain()
    await asyncio.sleep(3600)


async def main():
    p = argparse.ArgumentParser()
    p.add_argument("--outdir", required=True)
    p.add_argument("--tls", default="none", choices=["none", "implicit", "starttls"])
    p.add_argument("--cert")
    p.add_argument("--key")
    p.add_argument("--auth", default="none", choices=["none", "basic"])
    p.add_argument("--user", default="")
    p.add_argument("--password", default="")
    p.add_argument("--stall", action="store_true")
    p.add_argument("--data-delay", type=float, default=0.0)
    a = p.parse_args()

    loop = asyncio.get_running_loop()
    if a.stall:
        server = await asyncio.start_server(stall, "127.0.0.1", 0)
    else:
        context = None
        if a.tls != "none":
            context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
            context.load_cert_chain(a.cert, a.key)
        handler = Handler(a.outdir, a.data_delay)

        def factory():
            return SMTP(handler,
                        hostname="localhost",
                        tls_context=context if a.tls == "starttls" else None,
                        require_starttls=a.tls == "starttls",
                        auth_required=a.auth == "basic",
                        auth_require_tls=False,
                        authenticator=make_authenticator(a.user, a.password))

        server = await loop.create_server(factory, "127.0.0.1", 0,
                                          ssl=context if a.tls == "implicit" else None)
    port = server.sockets[0].getsockname()[1]
    print("PORT %d" % port, flush=True)
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
