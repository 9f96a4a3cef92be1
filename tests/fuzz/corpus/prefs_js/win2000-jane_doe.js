// Netscape User Preferences
// This is a generated file!  Do not edit.

user_pref("browser.bookmark_file", "C:\\Netscape\\Users\\jane_doe\\bookmark.htm");
user_pref("browser.cache.directory", "C:\\Netscape\\Users\\jane_doe\\cache");
user_pref("browser.cache.disk_cache_size", 7680);
user_pref("browser.cache.memory_cache_size", 1024);
user_pref("browser.download_directory", "C:\\TEMP");
user_pref("browser.startup.homepage", "http://www.example.com/");
user_pref("browser.startup.homepage_override", false);
user_pref("browser.startup.page", 1);
user_pref("browser.use_document_fonts", 2);
user_pref("browser.window_rect", "0,0,800,572");
user_pref("mail.check_new_mail", true);
user_pref("mail.check_time", 10);
user_pref("mail.directory", "C:\\Netscape\\Users\\jane_doe\\Mail");
user_pref("mail.identity.organization", "Example Org");
user_pref("mail.identity.useremail", "jane.doe@example.org");
user_pref("mail.identity.username", "Jane Doe");
user_pref("mail.leave_on_server", false);
user_pref("mail.pop_name", "jane.doe");
user_pref("mail.remember_password", false);
user_pref("mail.server_type", 0);
user_pref("mail.signature_file", "C:\\Netscape\\Users\\jane_doe\\signature.txt");
user_pref("mail.smtp_name", "jane.doe");
user_pref("network.hosts.pop_server", "mail.example.org");
user_pref("network.hosts.smtp_server", "mail.example.org");
user_pref("network.proxy.http", "proxy.eng.example.org");
user_pref("network.proxy.http_port", 8000);
user_pref("news.directory", "C:\\Netscape\\Users\\jane_doe\\News");
user_pref("security.warn_entering_secure", false);
user_pref("security.warn_leaving_secure", false);
user_pref("security.warn_submit_insecure", false);
user_pref("taskbar.x", 663);
user_pref("taskbar.y", 510);
user_pref("ui.key_navigation", false);
