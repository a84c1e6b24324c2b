#!/usr/bin/python3
"""A real FTP server for the tests and the benchmark: pyftpdlib on 127.0.0.1 at a free port.

Prints "port N" once it listens and "received PATH" (relative to the root) after each upload.
With --tls it makes a throw-away certificate authority and a server certificate for 127.0.0.1,
writes the authority to TLS_DIR/ca.pem and requires TLS on both connections.
"""
import argparse
import datetime
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def make_certificates(folder):
    from cryptography import x509
    from cryptography.hazmat.primitives import hashes, serialization
    from cryptography.hazmat.primitives.asymmetric import ec
    from cryptography.x509.oid import NameOID
    import ipaddress

    now = datetime.datetime.utcnow()
    ca_key = ec.generate_private_key(ec.SECP256R1())
    ca_name = x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, "Tarvolin test CA")])
    ca = (x509.CertificateBuilder().subject_name(ca_name).issuer_name(ca_name)
          .public_key(ca_key.public_key()).serial_number(x509.random_serial_number())
          .not_valid_before(now - datetime.timedelta(hours=1))
          .not_valid_after(now + datetime.timedelta(days=2))
          .add_extension(x509.BasicConstraints(ca=True, path_length=None), critical=True)
          .sign(ca_key, hashes.SHA256()))
    key = ec.generate_private_key(ec.SECP256R1())
    cert = (x509.CertificateBuilder()
            .subject_name(x509.Name([x509.NameAttribute(NameOID.COMMON_NAME, "127.0.0.1")]))
            .issuer_name(ca_name).public_key(key.public_key())
            .serial_number(x509.random_serial_number())
            .not_valid_before(now - datetime.timedelta(hours=1))
            .not_valid_after(now + datetime.timedelta(days=2))
            .add_extension(x509.SubjectAlternativeName(
                [x509.IPAddress(ipaddress.ip_address("127.0.0.1")), x509.DNSName("localhost")]),
                critical=False)
            .sign(ca_key, hashes.SHA256()))
    pem = serialization.Encoding.PEM
    with open(os.path.join(folder, "ca.pem"), "wb") as f:
        f.write(ca.public_bytes(pem))
    server_pem = os.path.join(folder, "server.pem")
    with open(server_pem, "wb") as f:
        f.write(cert.public_bytes(pem))
        f.write(key.private_bytes(pem, serialization.PrivateFormat.PKCS8,
                                  serialization.NoEncryption()))
    return server_pem


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="tester")
    parser.add_argument("--password", default="tajne heslo")
    parser.add_argument("--tls-dir")
    args = parser.parse_args()

    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    if args.tls_dir:
        from pyftpdlib.handlers import TLS_FTPHandler
        base = TLS_FTPHandler
    else:
        base = FTPHandler

    root = os.path.realpath(args.root)

    class Handler(base):
        def on_file_received(self, file):
            print("received", os.path.relpath(os.path.realpath(file), root), flush=True)

    Handler.authorizer = authorizer
    Handler.banner = "Testovací server připraven."
    if args.tls_dir:
        Handler.certfile = make_certificates(args.tls_dir)
        Handler.tls_control_required = True
        Handler.tls_data_required = True

    # A test that dies leaves no server behind: its end closes our standard input.
    def watch_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_parent, daemon=True).start()

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("port", server.socket.getsockname()[1], flush=True)
    try:
        server.serve_forever(handle_exit=True)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
