#include "upload/UploadTransactions.h"

#include <cstdio>

#include "base/TempFiles.h"
#include "upload/UploadTrace.h"

namespace lw {
namespace {

uint16_t g_nCurrentPort = 0;

std::string FileIn(const std::string& folder, const char* word) { return folder + word + ".XML"; }

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

void Delete(std::initializer_list<const std::string*> files) {
  for (const std::string* f : files) std::remove(f->c_str());
}

PostJob MakeJob(const QString& server, const char* path, const std::string& head, const std::string& data,
                const std::string& response) {
  PostJob job;
  job.server = server;
  job.path = QString::fromLatin1(path);
  job.headFile = head;
  job.dataFile = data;
  job.responseFile = response;
  job.port = g_nCurrentPort;
  return job;
}

}  // namespace

uint16_t CurrentUploadPort() { return g_nCurrentPort; }
void SetCurrentUploadPort(uint16_t port) { g_nCurrentPort = port; }

std::string UploadTempFolder() {
  const std::string dir = PrivateTempDir();
  return dir.empty() ? std::string() : dir + "/";
}

int SendCreate(const std::string& folder, const QString& server, const PageFieldSet& fieldSet,
               uint32_t& serviceId) {
  if (folder.empty()) return E_FAIL;
  UploadTrace("SEND CREATECOVERPAGE MSG START");
  UploadTrace("SEND CREATECOVERPAGE MSG COVERPAGEID=%d", fieldSet.coverPageId);
  const std::string payload = FileIn(folder, "CREATE_SEND");
  const std::string head = FileIn(folder, "CREATE_HEAD");
  const std::string response = FileIn(folder, "CREATE_RET");
  PostJob job = MakeJob(server, kCommandPath, head, payload, response);
  UploadTrace("SEND CREATECOVERPAGE MSG PORT=%d", job.port);
  UploadTrace("SEND CREATECOVERPAGE MSG NETPATH=%s", Utf8(server).c_str());
  UploadTrace("SEND CREATECOVERPAGE MSG NETNAME=%s", kCommandPath);
  UploadTrace("SEND CREATECOVERPAGE MSG LOCAL FILE=%s", payload.c_str());
  UploadTrace("SEND CREATECOVERPAGE MSG RET   FILE=%s", response.c_str());

  UploadTrace("SEND CREATECOVERPAGE MSG STEP 1 ENCODE CREATE");
  if (WriteCreateMessage(payload, fieldSet) != 0) {
    UploadTrace("SEND CREATECOVERPAGE MSG STEP 1 ERROR");
    return E_FAIL;
  }
  UploadTrace("SEND CREATECOVERPAGE MSG STEP 2 MAKE HEAD");
  if (WriteXmlFormHead(head) != 0) {
    UploadTrace("SEND CREATECOVERPAGE MSG STEP 2 ERROR");
    return E_FAIL;
  }
  job.tail = FormTail();
  UploadTrace("SEND CREATECOVERPAGE MSG STEP 3 POST");
  if (PostForm(job) != 0) {
    UploadTrace("SEND CREATECOVERPAGE MSG STEP 3 ERROR");
    return E_FAIL;
  }
  UploadTrace("SEND CREATECOVERPAGE MSG STEP 4 DECODE RET");
  ServerResponse answer;
  if (ReadResponse(response, answer) == 0 && answer.code == kCodeSuccess) {
    Delete({&payload, &head, &response});
    serviceId = answer.serviceId;
    return 0;
  }
  UploadTrace("SEND CREATECOVERPAGE MSG STEP 4 ERROR");
  return E_FAIL;
}

int SendImage(const std::string& folder, const QString& server, const std::string& imageFile,
              uint32_t serviceId) {
  if (folder.empty()) return E_FAIL;
  UploadTrace("SEND SEND_IMAGE START");
  const std::string head = FileIn(folder, "CPIMG_HEAD");
  const std::string response = FileIn(folder, "CPIMG_RET");
  PostJob job = MakeJob(server, kImagePath, head, imageFile, response);
  UploadTrace("SEND SEND_IMAGE PORT=%d", job.port);
  UploadTrace("SEND SEND_IMAGE NETPATH=%s", Utf8(server).c_str());
  UploadTrace("SEND SEND_IMAGE NETNAME=%s", kImagePath);
  UploadTrace("SEND SEND_IMAGE LOCAL FILE=%s", imageFile.c_str());
  UploadTrace("SEND SEND_IMAGE RET   FILE=%s", response.c_str());

  UploadTrace("SEND SEND_IMAGE STEP 1 MAKE HEAD FILE");
  if (WriteImageFormHead(head, serviceId, 1) != 0) {
    UploadTrace("SEND SEND_IMAGE STEP 1 ERROR");
    return E_FAIL;
  }
  job.tail = FormTail();
  UploadTrace("SEND SEND_IMAGE STEP 2 POST FILE");
  if (PostForm(job) != 0) {
    UploadTrace("SEND SEND_IMAGE STEP 2 ERROR");
    return E_FAIL;
  }
  UploadTrace("SEND SEND_IMAGE STEP 3 DECODE RET");
  ServerResponse answer;
  if (ReadResponse(response, answer) != 0 || answer.code != kCodeSuccess) {
    UploadTrace("SEND SEND_IMAGE STEP 3 ERROR");
    return E_FAIL;
  }
  Delete({&head, &response});
  return 0;
}

std::vector<SlotEntry> BuildSlotTable(const std::vector<SlotEntry>& received) {
  int32_t largest = 0;
  for (const SlotEntry& e : received) largest = std::max(largest, e.id);
  const int size = largest > 5 ? 20 : 5;
  std::vector<SlotEntry> table;
  table.reserve(static_cast<size_t>(size));
  for (int n = 1; n <= size; ++n) {
    SlotEntry slot;
    slot.id = n;
    for (const SlotEntry& e : received) {
      if (e.id == n) {
        slot = e;
        break;
      }
    }
    table.push_back(std::move(slot));
  }
  return table;
}

int ListSlots(const std::string& folder, const QString& server, std::vector<SlotEntry>& table) {
  if (folder.empty()) return E_FAIL;
  UploadTrace("SEND LISTCOVERPAGE START");
  const std::string payload = FileIn(folder, "LIST_SEND");
  const std::string head = FileIn(folder, "LIST_HEAD");
  const std::string response = FileIn(folder, "LIST_RET");
  PostJob job = MakeJob(server, kCommandPath, head, payload, response);
  UploadTrace("SEND LISTCOVERPAGE PORT=%d", job.port);
  UploadTrace("SEND LISTCOVERPAGE NETPATH=%s", Utf8(server).c_str());
  UploadTrace("SEND LISTCOVERPAGE NETNAME=%s", kCommandPath);
  UploadTrace("SEND LISTCOVERPAGE LOCAL FILE=%s", payload.c_str());
  UploadTrace("SEND LISTCOVERPAGE RET   FILE=%s", response.c_str());

  UploadTrace("SEND LISTCOVERPAGE STEP 1 MAKE HEAD FILE");
  if (WriteXmlFormHead(head) != 0) {
    UploadTrace("SEND LISTCOVERPAGE STEP 1 ERROR");
    return E_FAIL;
  }
  UploadTrace("SEND LISTCOVERPAGE STEP 2 ENCODE FILE");
  if (WriteListMessage(payload) != 0) {
    UploadTrace("SEND LISTCOVERPAGE STEP 2 ERROR");
    return E_FAIL;
  }
  job.tail = FormTail();
  UploadTrace("SEND LISTCOVERPAGE STEP 3 POST");
  if (PostForm(job) != 0) {
    UploadTrace("SEND LISTCOVERPAGE STEP 3 ERROR");
    return E_FAIL;
  }
  UploadTrace("SEND LISTCOVERPAGE STEP 4 DECODE RET");
  int32_t code = 0;
  std::vector<SlotEntry> received;
  if (ReadSlotList(response, code, received) != 0) {
    UploadTrace("SEND LISTCOVERPAGE STEP 4 ERROR");
    return E_FAIL;
  }
  Delete({&payload, &head, &response});
  if (code != kCodeSuccess) return -1;
  const std::vector<SlotEntry> built = BuildSlotTable(received);
  table.insert(table.end(), built.begin(), built.end());
  return 0;
}

int UploadPage(PageFieldSet fieldSet, int coverPageId, const QString& server,
               const PageImageRenderer& renderImage, UploadStep* failedStep) {
  auto fail = [&](UploadStep step) {
    if (failedStep) *failedStep = step;
    return E_FAIL;
  };
  if (failedStep) *failedStep = UploadStep::None;
  fieldSet.coverPageId = coverPageId;
  const std::string folder = UploadTempFolder();
  uint32_t serviceId = 0;
  if (SendCreate(folder, server, fieldSet, serviceId) != 0) return fail(UploadStep::Create);
  const std::string image = renderImage ? renderImage() : std::string();
  // A page that could not be rendered still goes to the image step, which then fails on
  // the missing file: the trace shows the same lines as for any other image failure.
  if (SendImage(folder, server, image, serviceId) != 0)
    return fail(image.empty() ? UploadStep::Render : UploadStep::Image);
  return 0;
}

}  // namespace lw
