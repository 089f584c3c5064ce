// `settingField<&Record::member>`: the accessor a settings table row uses for a plain member.
#pragma once

template <auto Member> struct SettingMember;

template <class Record, class T, T Record::*Member> struct SettingMember<Member> {
    static T& get(Record& record) { return record.*Member; }
};

template <auto Member> constexpr auto settingField = &SettingMember<Member>::get;
