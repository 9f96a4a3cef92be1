// Netscape User Preferences
// This is a generated file!  Do not edit.

user_pref("browser.bookmark_file", "C:\\Program Files\\Netscape\\Users\\default\\bookmark.htm");
user_pref("browser.cache.directory", "C:\\Program Files\\Netscape\\Users\\default\\cache");
user_pref("browser.cache.disk_cache_size", 7680);
user_pref("browser.cache.memory_cache_size", 1024);
user_pref("browser.download_directory", "C:\\TEMP");
user_pref("browser.startup.homepage", "http://home.netscape.com/");
user_pref("browser.startup.homepage_override", false);
user_pref("browser.startup.page", 1);
user_pref("browser.use_document_fonts", 2);
user_pref("browser.window_rect", "0,0,800,572");
user_pref("mail.check_new_mail", true);
user_pref("mail.check_time", 10);
user_pref("mail.directory", "C:\\Program Files\\Netscape\\Users\\default\\Mail");
user_pref("mail.identity.useremail", "jdoe98@homenet.example.net");
user_pref("mail.identity.username", "Jane Doe");
user_pref("mail.leave_on_server", true);
user_pref("mail.pop_name", "jdoe98");
user_pref("mail.remember_password", false);
user_pref("mail.server_type", 0);
user_pref("mail.signature_file", "C:\\Program Files\\Netscape\\Users\\default\\signature.txt");
user_pref("mail.smtp_name", "jdoe98");
user_pref("network.hosts.pop_server", "pop.homenet.example.net");
user_pref("network.hosts.smtp_server", "smtp.homenet.example.net");
user_pref("news.directory", "C:\\Program Files\\Netscape\\Users\\default\\News");
user_pref("security.warn_entering_secure", false);
user_pref("security.warn_leaving_secure", false);
user_pref("security.warn_submit_insecure", false);
user_pref("taskbar.x", 663);
user_pref("taskbar.y", 510);
user_pref("ui.key_navigation", false);
