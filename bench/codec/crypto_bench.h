#pragma once
// Throughput of the checksum and the member ciphers (MB/s, best of repeat).

void BenchCrc(double scale, int repeat);
void BenchCrypto(double scale, int repeat);
void BenchAes(double scale, int repeat);
