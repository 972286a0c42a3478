// Times parsing a large multipart mail into a tree and writing it back, for the
// MIME tree and for GMime 3 (bodies held in memory, and its default mode that
// leaves bodies in the source stream), side by side on the same bytes. Each mode
// runs in a child process of its own so that its peak memory is its own.
// Usage: mime_tree_bench [megabytes=50] [warm runs=5]
#include <gmime/gmime.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mime/mime_part.h"

namespace {

using Clock = std::chrono::steady_clock;

// A mail of about `megabytes` MB: a text part, an alternative pair and base64
// attachments of 76-character lines, as a mail client sends them.
std::string makeMail(std::size_t megabytes) {
  std::string mail;
  mail.reserve(megabytes * 1024 * 1024 + 65536);
  mail +=
      "Return-Path: <sender@example.com>\r\n"
      "Received: from mail.example.com (mail.example.com [192.0.2.1])\r\n"
      "\tby mx.example.org with ESMTP id 12345\r\n"
      "\tfor <rcpt@example.org>; Tue, 8 Dec 2026 08:00:00 +0000\r\n"
      "From: Sender <sender@example.com>\r\n"
      "To: Receiver <rcpt@example.org>\r\n"
      "Subject: Attachments\r\n"
      "Date: Tue, 8 Dec 2026 08:00:00 +0000\r\n"
      "Message-ID: <bench.1@example.com>\r\n"
      "MIME-Version: 1.0\r\n"
      "Content-Type: multipart/mixed;\r\n\tboundary=\"----=_Part_0_outer\"\r\n"
      "\r\n"
      "This is a multi-part message in MIME format.\r\n"
      "\r\n"
      "------=_Part_0_outer\r\n"
      "Content-Type: multipart/alternative; boundary=\"----=_Part_1_alt\"\r\n"
      "\r\n"
      "------=_Part_1_alt\r\n"
      "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n"
      "Content-Transfer-Encoding: 7bit\r\n"
      "\r\n";
  for (int i = 0; i < 40; ++i) mail += "Plain text line " + std::to_string(i) + " of the message body.\r\n";
  mail +=
      "------=_Part_1_alt\r\n"
      "Content-Type: text/html; charset=\"us-ascii\"\r\n"
      "Content-Transfer-Encoding: quoted-printable\r\n"
      "\r\n";
  for (int i = 0; i < 40; ++i) mail += "<p>HTML line " + std::to_string(i) + " of the message body.</p>\r\n";
  mail += "------=_Part_1_alt--\r\n\r\n";
  static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::uint32_t seed = 12345;
  const std::size_t target = megabytes * 1024 * 1024;
  for (int attachment = 0; mail.size() < target; ++attachment) {
    mail +=
        "------=_Part_0_outer\r\n"
        "Content-Type: application/octet-stream; name=\"file" +
        std::to_string(attachment) +
        ".bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\n"
        "Content-Disposition: attachment; filename=\"file" +
        std::to_string(attachment) + ".bin\"\r\n\r\n";
    std::size_t end = std::min(target, mail.size() + 4 * 1024 * 1024);
    char line[78];
    while (mail.size() < end) {
      for (int i = 0; i < 76; ++i) {
        seed = seed * 1103515245u + 12345u;
        line[i] = kBase64[(seed >> 16) & 63];
      }
      line[76] = '\r';
      line[77] = '\n';
      mail.append(line, sizeof line);
    }
  }
  mail += "------=_Part_0_outer--\r\n";
  return mail;
}

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

struct Timing {
  double firstMs = 0;
  double bestWarmMs = 1e300;
  double medianWarmMs = 0;
  std::size_t outputSize = 0;
  long warmFaults = 0;  // minor page faults of the last warm run
  bool identical = false;
};

template <class F>
Timing timeRuns(int warmRuns, F&& run) {
  Timing timing;
  std::vector<double> warm;
  for (int i = 0; i <= warmRuns; ++i) {
    long faults0 = minorFaults();
    auto t0 = Clock::now();
    std::size_t size = run(i == 0 ? &timing.identical : nullptr);
    timing.warmFaults = minorFaults() - faults0;
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    timing.outputSize = size;
    if (i == 0)
      timing.firstMs = ms;
    else
      warm.push_back(ms);
  }
  std::sort(warm.begin(), warm.end());
  if (!warm.empty()) {
    timing.bestWarmMs = warm.front();
    timing.medianWarmMs = warm[warm.size() / 2];
  }
  return timing;
}

long peakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Peak RSS once the first run has built its tree, before the text is written.
long treePeakKb = 0;

std::size_t lumoRun(const std::string& mail, bool* identical) {
  lumo::MimePart tree;
  tree.parse(std::string_view(mail));
  if (identical) treePeakKb = peakKb();
  lumo::MimeText text = tree.toText();
  if (identical) *identical = text.view() == std::string_view(mail);
  return text.size();
}

std::size_t gmimeRun(GByteArray* source, bool persist, GMimeFormatOptions* format, const std::string& mail,
                     bool* identical) {
  GMimeStream* input = g_mime_stream_mem_new_with_byte_array(source);
  g_mime_stream_mem_set_owner(GMIME_STREAM_MEM(input), FALSE);
  GMimeParser* parser = g_mime_parser_new_with_stream(input);
  g_mime_parser_set_persist_stream(parser, persist ? TRUE : FALSE);
  GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
  if (identical) treePeakKb = peakKb();
  GMimeStream* output = g_mime_stream_mem_new();
  g_mime_object_write_to_stream(GMIME_OBJECT(message), format, output);
  GByteArray* written = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(output));
  std::size_t size = written->len;
  if (identical) *identical = size == mail.size() && std::memcmp(written->data, mail.data(), size) == 0;
  g_object_unref(output);
  g_object_unref(message);
  g_object_unref(parser);
  g_object_unref(input);
  return size;
}

// Runs one mode in a child process and prints its line of results.
void runMode(int mode, std::size_t megabytes, int warmRuns) {
  std::fflush(stdout);
  pid_t child = fork();
  if (child != 0) {
    int status = 0;
    waitpid(child, &status, 0);
    return;
  }
  std::string mail = makeMail(megabytes);
  GByteArray* source = nullptr;
  GMimeFormatOptions* format = nullptr;
  if (mode > 0) {
    g_mime_init();
    // The source has CR LF line ends, as the tree writes them; GMime writes
    // LF by default, so ask it for CR LF to write the same bytes.
    format = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(format, GMIME_NEWLINE_FORMAT_DOS);
    source = g_byte_array_new();
    g_byte_array_append(source, reinterpret_cast<const guint8*>(mail.data()),
                        static_cast<guint>(mail.size()));
  }
  long baseKb = peakKb();
  static const char* const kNames[] = {"lumo MimePart", "GMime in memory", "GMime streaming"};
  Timing t = timeRuns(warmRuns, [&](bool* identical) {
    if (mode == 0) return lumoRun(mail, identical);
    return gmimeRun(source, mode == 2, format, mail, identical);
  });
  double mb = static_cast<double>(mail.size()) / (1024.0 * 1024.0);
  std::printf(
      "%-16s first %7.1f ms %7.1f MB/s | warm best %7.1f ms %7.1f MB/s median %7.1f MB/s | "
      "peak RSS %5ld MB (+%4ld MB over source; tree alone +%4ld MB) | %6ld faults/run | output %s\n",
      kNames[mode], t.firstMs, mb / (t.firstMs / 1000), t.bestWarmMs, mb / (t.bestWarmMs / 1000),
      mb / (t.medianWarmMs / 1000), peakKb() / 1024, (peakKb() - baseKb) / 1024, (treePeakKb - baseKb) / 1024,
      t.warmFaults,
      t.identical ? "identical to source" : ("differs, " + std::to_string(t.outputSize) + " bytes").c_str());
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t megabytes = argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 50;
  int warmRuns = argc > 2 ? std::atoi(argv[2]) : 5;
  std::string mail = makeMail(megabytes);
  std::printf("mail: %zu bytes, %zu lines; parse + write back, %d warm runs after the first\n", mail.size(),
              static_cast<std::size_t>(std::count(mail.begin(), mail.end(), '\n')), warmRuns);
  mail.clear();
  mail.shrink_to_fit();
  for (int mode = 0; mode < 3; ++mode) runMode(mode, megabytes, warmRuns);
  return 0;
}
