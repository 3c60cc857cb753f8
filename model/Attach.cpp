// Attachment records.
#include "Attach.h"

namespace mirvex {

void TAttach::Assign(const TAttach& source) {
    Version = source.Version;
    Kind = source.Kind;
    PlayMode = source.PlayMode;
    RepeatPlay = source.RepeatPlay;
    LayoutFlag = source.LayoutFlag;
    FitMode = source.FitMode;
    Width = source.Width;
    Height = source.Height;
    FileName = source.FileName;
    FileData = source.FileData;
}

bool TAttach::LoadBody(TStream& s) {
    std::uint8_t header[8];
    std::int32_t nameLength = 0, dataLength = 0;
    if (!TCustomTanker::LoadBody(s) || !s.ReadBuffer(header, sizeof header) || !ReadInt32(s, Width) ||
        !ReadInt32(s, Height) || !ReadInt32(s, nameLength) || !ReadInt32(s, dataLength))
        return false;
    Kind = static_cast<TAttachKind>(header[0]);
    PlayMode = static_cast<TPlayMode>(header[1]);
    RepeatPlay = header[2];
    LayoutFlag = header[4];
    FitMode = static_cast<TFitMode>(header[5]);
    if (nameLength < 0 || dataLength < 0 ||
        static_cast<std::int64_t>(nameLength) + dataLength > s.Remaining())
        return false;
    FileName.assign(static_cast<std::size_t>(nameLength), '\0');
    FileData.assign(static_cast<std::size_t>(dataLength), 0);
    return s.ReadBuffer(FileName.data(), nameLength) && s.ReadBuffer(FileData.data(), dataLength);
}

bool TAttach::SaveBody(TStream& s) const {
    if (FileName.size() > INT32_MAX || FileData.size() > INT32_MAX) return false;
    const std::uint8_t header[8] = {static_cast<std::uint8_t>(Kind), static_cast<std::uint8_t>(PlayMode),
                                    RepeatPlay, 0, LayoutFlag, static_cast<std::uint8_t>(FitMode), 0, 0};
    return TCustomTanker::SaveBody(s) && s.WriteBuffer(header, sizeof header) && WriteInt32(s, Width) &&
           WriteInt32(s, Height) && WriteInt32(s, static_cast<std::int32_t>(FileName.size())) &&
           WriteInt32(s, static_cast<std::int32_t>(FileData.size())) &&
           s.WriteBuffer(FileName.data(), static_cast<std::int64_t>(FileName.size())) &&
           s.WriteBuffer(FileData.data(), static_cast<std::int64_t>(FileData.size()));
}

}  // namespace mirvex
